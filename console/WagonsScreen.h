#pragma once

#include <QPointer>
#include <array>
#include <cstdint>

#include "plant/Wagons.h"

class QLabel;
class QWidget;

namespace symbols {
class TLEDTablo;
class TSilo;
}  // namespace symbols

namespace console {

class TFrmMain;

// What the wagon and temperature timer changes on the window: the wagon
// pictures, the silo colours, the temperature line of the alarm board and the
// unloading board. Controls are found by name once; a missing one is skipped.
// The timer sets a value only when it changes (plant/Shown.h), so these set
// what they are given.
class WagonsScreen : public plant::WagonsOutlet {
public:
    explicit WagonsScreen(TFrmMain& form);

    void SetWagonVisible(int w, bool visible) override;
    void SetSiloColour(int n, uint32_t colour) override;
    void SetTemperatureAlarmShown(bool on) override;
    void SetUnloadingBoard(double tonnes) override;
    void RepaintNow() override;

private:
    TFrmMain& form_;
    std::array<QPointer<QWidget>, plant::kWagonCount> wagons_;
    std::array<QPointer<symbols::TSilo>, plant::kSiloCount> silos_;
    QPointer<QLabel> temperatureLine_;
    QPointer<symbols::TLEDTablo> unloadingBoard_;
};

}  // namespace console
