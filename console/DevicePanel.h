#pragma once

#include <QObject>
#include <cstdint>
#include <span>

#include "console/Layout.h"

class QLabel;
class QPushButton;
class QTimer;

namespace plant {
struct Plant;
}

namespace console {

class Access;
class NumberLabels;
struct RegionServices;

// The device control panel "Управление устройством": opened by a click on a
// device symbol, it shows the device's name, mode, state and (valves) opening,
// refreshed twice a second by its own timer, makes the device's number label
// on the diagram blink, and posts the operator's command codes for the next
// controller tick once the access check lets the user at the console give
// them. Its buttons are wired to its handlers here.
class DevicePanel : public QObject {
    Q_OBJECT

public:
    // `panel` is the overlay to fill; `labels` hands out the number labels
    // that the plant's device table names.
    DevicePanel(TPanel& panel, const RegionServices& services, const NumberLabels& labels);

    static std::span<const Control> Layout();

signals:
    // The panel has been opened (or switched to another device); the setup
    // panel at the same place gives way.
    void Opened();

public slots:
    // A click on the symbol of device `dev`: the panel shows that device, with
    // the buttons of a valve or of a drive as the plant's device table says; an
    // open panel switches to it and keeps its refresh rhythm. Before start-up
    // has filled the tables there is no device to show, and nothing opens.
    void DeviceControlClick(int dev);
    // "Выход": hides the panel, stops the refresh and the blinking; no device
    // selected. Opening the setup panel and start-up close it the same way.
    void BtnDiscretCloseClick();

    // The command buttons: each posts its code for the selected device.
    void BtnOnClick();
    void BtnOffClick();
    void BtnStopClick();
    void BtnResetClick();
    void BtnLocalClick();
    void BtnRemoteClick();
    void BtnRepairClick();

    // Every 500 ms while the panel is open: writes the selected device's values
    // and blinks its number label.
    void TimerReadStateTimer();

private:
    void Post(int32_t code);
    // The device's number label on the diagram; null for none.
    QWidget* NameLabel(int dev) const;
    void SetNameLabelColour(int dev, palette::Colour colour);

    TPanel& panel_;
    plant::Plant& plant_;
    Access& access_;
    const NumberLabels& labels_;
    char decimalSeparator_;
    QTimer* TimerReadState = nullptr;

    QLabel* name_ = nullptr;
    QLabel* mode_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* error_ = nullptr;
    QLabel* opening_ = nullptr;
    QPushButton* on_ = nullptr;
    QPushButton* off_ = nullptr;
    QPushButton* stop_ = nullptr;
};

}  // namespace console
