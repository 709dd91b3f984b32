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

struct RegionServices;

// The system block panel "Блокировка системы": while it shows, the console
// stays alive (timers, controller, journal) but the mouse cannot leave the
// panel until "Разблокировать" is pressed. The password is neither checked
// nor cleared. "Разблокировать" is wired to its handler here; the command
// bar's "Блокировка" blocks.
class BlockPanel : public QObject {
    Q_OBJECT

public:
    BlockPanel(TPanel& panel, const RegionServices& services);

    static std::span<const Control> Layout();

public slots:
    // "Блокировка" on the command bar: a blue entry, the panel on top of the
    // other overlays, the pointer held inside it.
    void BtnBlockClick();
    // "Разблокировать": a blue entry, the panel hidden, the pointer free.
    void Button1Click();

signals:
    // The console was blocked (true) or unblocked (false).
    void Blocked(bool blocked);

private:
    TPanel& panel_;
    plant::JournalOutlet& journal_;
    platform::PointerConfinement& confinement_;
    QLineEdit* password_ = nullptr;
};

}  // namespace console
