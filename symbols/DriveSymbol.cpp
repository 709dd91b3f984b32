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

void TDriveSymbol::FreeRunningTick(TickRedraw redraw) {
    FlipFlash();
    if (state_ == TState::Run)
        blinkColor_ = (blinkColor_ == clBtnFace) ? colorRun_ : clBtnFace;
    else
        blinkColor_ = clBtnFace;
    if (redraw == TickRedraw::Now)
        Repaint();
    else
        Invalidate();
}

void TDriveSymbol::SetArrowStyle(platform::Canvas& canvas) const {
    canvas.SetPenWidth(1);
    if (state_ == TState::Run) {
        canvas.SetPenStyle(platform::PenStyle::Solid);
        canvas.SetPenColor(clGreen);
        canvas.SetBrushStyle(platform::BrushStyle::Solid);
        canvas.SetBrushColor(blinkColor_);
    } else {
        canvas.SetPenStyle(platform::PenStyle::Clear);
        canvas.SetBrushStyle(platform::BrushStyle::Clear);
    }
}

}  // namespace symbols
