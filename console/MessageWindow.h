#pragma once

#include <QDateTime>
#include <functional>
#include <memory>
#include <span>

#include "console/Layout.h"

namespace console {

class Journal;
class JournalView;

// The right section of the lower band, "Окно сообщений": two tabs, the first
// ("Системные") holding the event journal, and the journal outlet that stamps
// and appends its entries.
class MessageWindow {
public:
    MessageWindow(QWidget& section, std::function<QDateTime()> now);
    ~MessageWindow();

    static std::span<const Control> Layout();

    Journal& journal() { return *journal_; }

private:
    std::unique_ptr<Journal> journal_;
};

}  // namespace console
