#pragma once

#include <QObject>
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

class Access;
struct RegionServices;

// The system block panel "Блокировка системы": while it shows, the console
// stays alive (timers, controller, journal) but the mouse cannot leave the
// panel until "Разблокировать" is pressed. Without a users file any text
// unblocks and the field keeps it; with one, only the password of the user
// who blocked or of an engineer unblocks (Access), and the field is emptied
// after every try. "Разблокировать" is wired to its handler here; the command
// bar's "Блокировка" blocks.
class BlockPanel : public QObject {
    Q_OBJECT

public:
    BlockPanel(TPanel& panel, const RegionServices& services);

    static std::span<const Control> Layout();

public slots:
    // "Блокировка" on the command bar, when the user may block: a blue
    // entry, the panel on top of the other overlays, the pointer held inside it.
    void BtnBlockClick();
    // "Разблокировать", when the password is taken: a blue entry, the panel
    // hidden, the pointer free.
    void Button1Click();

signals:
    // The console was blocked (true) or unblocked (false).
    void Blocked(bool blocked);

private:
    TPanel& panel_;
    plant::JournalOutlet& journal_;
    platform::PointerConfinement& confinement_;
    Access& access_;
    QLineEdit* password_ = nullptr;
};

}  // namespace console
