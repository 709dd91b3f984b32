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
class WagonsScreen : public plant::WagonsOutlet {
public:
    explicit WagonsScreen(TFrmMain& form);

    bool WagonVisible(int w) const override;
    void SetWagonVisible(int w, bool visible) override;
    void SetSiloColour(int n, uint32_t colour) override;
    void SetTemperatureAlarmShown(bool on) override;
    void SetUnloadingBoard(double tonnes) override;
    void RepaintNow() override;

    // Font colours of the alarm board's temperature line, 0x00BBGGRR.
    static constexpr uint32_t kAlarmRed = 0x0000FF;
    static constexpr uint32_t kInactiveGrey = 0xADADAD;

private:
    TFrmMain& form_;
    std::array<QPointer<QWidget>, 3> wagons_;
    std::array<QPointer<symbols::TSilo>, 4> silos_;
    QPointer<QLabel> temperatureLine_;
    QPointer<symbols::TLEDTablo> unloadingBoard_;
};

}  // namespace console
