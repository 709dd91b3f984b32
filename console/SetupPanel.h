#pragma once

#include <QObject>
#include <span>

#include "console/Layout.h"

namespace platform {
class MessageBoxes;
}

namespace console {

class Access;
struct RegionServices;

// The setup panel "Настройка": three functions the demonstration does not
// provide and "Закрыть". Its buttons are wired to its handlers here; the
// command bar's "Настройки" opens it.
class SetupPanel : public QObject {
    Q_OBJECT

public:
    SetupPanel(TPanel& panel, const RegionServices& services);

    static std::span<const Control> Layout();

signals:
    // The panel is about to show; the device panel at the same place closes.
    void Opening();

public slots:
    // "Настройки" on the command bar: the device panel closes, this one shows.
    void BtnSetupClick();
    // "Закрыть", and the device panel's opening: hides the panel.
    void BtnSetupCloseClick();
    // "Инициализация PLC", "Настройка среды", "Калибровка": not in the
    // demonstration, and for engineers only.
    void BtnNotWorklClick();

private:
    TPanel& panel_;
    platform::MessageBoxes& messages_;
    Access& access_;
};

}  // namespace console
