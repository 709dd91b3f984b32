#pragma once

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

// The device control panel "Управление устройством": opened by a click on a
// device symbol, it shows the device's name, mode, state and (valves) opening,
// refreshed twice a second, makes the device's number label on the diagram
// blink, and posts the operator's command codes for the next controller tick.
class DevicePanel {
public:
    // `panel` is the overlay to fill; `form` holds the number labels the plant
    // tables name; `refresh` is the panel's 500 ms timer.
    DevicePanel(TPanel& panel, QWidget& form, plant::Plant& plant, QTimer& refresh,
                char decimalSeparator);

    static std::span<const Control> Layout();

    // Shows the panel for device `dev` (a valve or a drive); an open panel
    // switches to it and keeps its refresh rhythm.
    void Open(int dev, bool valve);
    // Hides the panel, stops the refresh and the blinking; no device selected.
    void Close();
    // Writes the selected device's values and blinks its number label.
    void Refresh();
    // Posts a command code for the selected device.
    void Post(int32_t code);

private:
    // The device's number label on the diagram; null for none.
    QWidget* NameLabel(int dev) const;
    void SetNameLabelColour(int dev, palette::Colour colour);

    TPanel& panel_;
    QWidget& form_;
    plant::Plant& plant_;
    QTimer& refresh_;
    char decimalSeparator_;

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
