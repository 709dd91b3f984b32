#include "console/WagonsScreen.h"

#include <QLabel>

#include "console/MainFrm.h"
#include "console/MainFrmControls.h"
#include "symbols/LEDTablo.h"
#include "symbols/Silo.h"

namespace console {

WagonsScreen::WagonsScreen(TFrmMain& form) : form_(form) {
    for (int w = 1; w <= 3; ++w) {
        wagons_[static_cast<size_t>(w - 1)] = form.findChild<QWidget*>(QString("Vagon%1").arg(w));
    }
    for (int n = 1; n <= 4; ++n) {
        silos_[static_cast<size_t>(n - 1)] =
            form.findChild<symbols::TSilo*>(QString("Silo%1").arg(n));
    }
    temperatureLine_ = form.findChild<QLabel*>("TabloTemperature");
    unloadingBoard_ = form.findChild<symbols::TLEDTablo*>("LEDTablo2");
}

// A wagon stands on the track while its picture is set to show, even while the
// silo page covers the diagram.
bool WagonsScreen::WagonVisible(int w) const {
    if (w < 1 || w > 3) return false;
    const QWidget* wagon = wagons_[static_cast<size_t>(w - 1)];
    return wagon != nullptr && !wagon->isHidden();
}

void WagonsScreen::SetWagonVisible(int w, bool visible) {
    if (w < 1 || w > 3) return;
    if (QWidget* wagon = wagons_[static_cast<size_t>(w - 1)]) wagon->setVisible(visible);
}

void WagonsScreen::SetSiloColour(int n, uint32_t colour) {
    if (n < 1 || n > 4) return;
    if (symbols::TSilo* silo = silos_[static_cast<size_t>(n - 1)]) silo->setColor(colour);
}

void WagonsScreen::SetTemperatureAlarmShown(bool on) {
    if (temperatureLine_ == nullptr) return;
    const uint32_t colour = on ? kAlarmRed : kInactiveGrey;
    if (FontColour(temperatureLine_) != colour) SetFontColour(temperatureLine_, colour);
}

void WagonsScreen::SetUnloadingBoard(double tonnes) {
    if (unloadingBoard_ != nullptr) unloadingBoard_->setValue(tonnes);
}

void WagonsScreen::RepaintNow() {
    form_.repaint();
}

}  // namespace console
