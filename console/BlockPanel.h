#pragma once

#include <span>

#include "console/Layout.h"

class QLineEdit;

namespace plant {
class JournalOutlet;
}

namespace platform {
class PointerConfinement;
}

namespace console {

// The system block panel "Блокировка системы": while it shows, the console
// stays alive (timers, controller, journal) but the mouse cannot leave the
// panel until "Разблокировать" is pressed. The password is neither checked
// nor cleared.
class BlockPanel {
public:
    BlockPanel(TPanel& panel, platform::PointerConfinement& confinement);

    static std::span<const Control> Layout();

    // Each is written to `journal` in blue.
    void Block(plant::JournalOutlet& journal);
    void Unblock(plant::JournalOutlet& journal);

private:
    TPanel& panel_;
    platform::PointerConfinement& confinement_;
    QLineEdit* password_ = nullptr;
};

}  // namespace console
