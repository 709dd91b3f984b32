#pragma once

#include <QObject>
#include <span>
#include <string>

#include "console/Layout.h"
#include "console/NumberLabels.h"

class QPushButton;
class QToolButton;

namespace plant {
struct Plant;
}

namespace symbols {
class TTitle;
}

namespace console {

class Access;
struct RegionServices;

// The diagram page, the mnemonic picture of the terminal: the bucket elevator,
// conveyors, fans and gate valves with their number labels, the silos with
// gauges, stock panels and zone lamps, pipes, the three tonnage boards, the
// wagons, the loading machines, the scrolling help and the sound switch. The
// route list lies on it too (RouteList). The controller and the wagon timer
// write its controls; its buttons are wired to its handlers here (the sound
// switch and "Сброс" ask the access check first), and a click on a device
// symbol is announced for the device panel.
class DiagramPage : public QObject, public NumberLabels {
    Q_OBJECT

public:
    DiagramPage(QWidget& page, const RegionServices& services);

    static std::span<const Control> Layout();

    // Sound is on while the "sound off" button is hidden.
    bool SoundOn() const;

    QWidget* NumberLabel(const std::string& name) const override;

signals:
    // A device symbol (valve or drive) was clicked; `dev` is its tag, the
    // device's number in the plant tables.
    void DeviceClicked(int dev);

public slots:
    // The sound switch: the loudspeaker turns the sound off, the crossed-out
    // one on again.
    void BtnEnabledSoundClick();
    void BtnDisabledSoundClick();
    // "Информация": the button hides while the help text scrolls through once.
    void BtnWhatTisClick();
    // The help pass has ended: the button comes back.
    void Title1Done();
    // "Сброс": the shipped tonnage starts again from zero; the board shows it
    // from the next controller tick.
    void BtnResetCountClick();

private:
    plant::Plant& plant_;
    Access& access_;
    Controls made_;
    QToolButton* soundOff_ = nullptr;
    symbols::TTitle* help_ = nullptr;
    QPushButton* helpButton_ = nullptr;
};

}  // namespace console
