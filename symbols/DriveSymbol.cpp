#include "symbols/DriveSymbol.h"

namespace symbols {

TDriveSymbol::TDriveSymbol(QWidget* parent, FlashGroup group, TFlashRate rate, TColor colorRun)
    : TDeviceSymbol(parent, group, rate), colorRun_(colorRun) {}

void TDriveSymbol::setState(TState state) {
    state_ = state;
    Invalidate();
}

void TDriveSymbol::setColorRun(TColor c) {
    colorRun_ = c;
    Invalidate();
}

void TDriveSymbol::setColorAccelerate(TColor c) {
    colorAccelerate_ = c;
    Invalidate();
}

void TDriveSymbol::setColorStop(TColor c) {
    colorStop_ = c;
    Invalidate();
}

TColor TDriveSymbol::CurrentStateColor() const {
    return StateColor(state_, colorRun_, colorAccelerate_, colorStop_);
}

void TDriveSymbol::FlipBlink() {
    if (state_ == TState::Run && !Designing())
        blinkColor_ = (blinkColor_ == clBtnFace) ? colorRun_ : clBtnFace;
    else
        blinkColor_ = clBtnFace;
}

}  // namespace symbols
