#include "console/WagonsScreen.h"

#include <QLabel>

#include "console/MainFrm.h"
#include "console/WidgetColours.h"
#include "platform/core/Palette.h"
#include "symbols/LEDTablo.h"
#include "symbols/Silo.h"

namespace console {

WagonsScreen::WagonsScreen(TFrmMain& form) : form_(form) {
    for (int w = 1; w <= plant::kWagonCount; ++w) {
        wagons_[static_cast<size_t>(w - 1)] = form.findChild<QWidget*>(QString("Vagon%1").arg(w));
    }
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        silos_[static_cast<size_t>(n - 1)] =
            form.findChild<symbols::TSilo*>(QString("Silo%1").arg(n));
    }
    temperatureLine_ = form.findChild<QLabel*>("TabloTemperature");
    unloadingBoard_ = form.findChild<symbols::TLEDTablo*>("LEDTablo2");
}

void WagonsScreen::SetWagonVisible(int w, bool visible) {
    if (w < 1 || w > plant::kWagonCount) return;
    if (QWidget* wagon = wagons_[static_cast<size_t>(w - 1)]) wagon->setVisible(visible);
}

void WagonsScreen::SetSiloColour(int n, uint32_t colour) {
    if (n < 1 || n > plant::kSiloCount) return;
    if (symbols::TSilo* silo = silos_[static_cast<size_t>(n - 1)]) silo->setColor(colour);
}

void WagonsScreen::SetTemperatureAlarmShown(bool on) {
    if (temperatureLine_ == nullptr) return;
    SetFontColour(temperatureLine_, on ? palette::Red : palette::AlarmLineIdle);
}

void WagonsScreen::SetUnloadingBoard(double tonnes) {
    if (unloadingBoard_ != nullptr) unloadingBoard_->setValue(tonnes);
}

void WagonsScreen::RepaintNow() {
    form_.repaint();
}

}  // namespace console
