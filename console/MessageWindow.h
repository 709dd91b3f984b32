#pragma once

#include <span>

#include "console/Layout.h"

namespace console {

class Journal;

// The right section of the lower band, "Окно сообщений": two tabs, the first
// ("Системные") holding the event journal's view.
class MessageWindow {
public:
    // `journal` shows its entries in the view made here.
    MessageWindow(QWidget& section, Journal& journal);

    static std::span<const Control> Layout();
};

}  // namespace console
