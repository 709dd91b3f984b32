#pragma once

#include "symbols/DeviceSymbol.h"

namespace symbols {

// A device symbol of a motor drive (pump, conveyor, bucket elevator): adds the
// drive state with its three indicator colours, and the run blink that the
// free-running symbols show while the drive runs.
class TDriveSymbol : public TDeviceSymbol {
    Q_OBJECT
    // Drive state; picks the indicator colour (hub or rollers).
    Q_PROPERTY(symbols::TState State READ State WRITE setState)
    // Indicator colour while running, running up or down, and stopped.
    Q_PROPERTY(platform::TColor ColorRun READ ColorRun WRITE setColorRun)
    Q_PROPERTY(platform::TColor ColorAccelerate READ ColorAccelerate WRITE setColorAccelerate)
    Q_PROPERTY(platform::TColor ColorStop READ ColorStop WRITE setColorStop)

public:
    TState State() const { return state_; }
    void setState(TState state);
    TColor ColorRun() const { return colorRun_; }
    void setColorRun(TColor c);
    TColor ColorAccelerate() const { return colorAccelerate_; }
    void setColorAccelerate(TColor c);
    TColor ColorStop() const { return colorStop_; }
    void setColorStop(TColor c);

    // The indicator colour that the current state selects.
    TColor CurrentStateColor() const;

    // clBtnFace, alternating with ColorRun on each tick while the drive runs.
    TColor BlinkColor() const { return blinkColor_; }

protected:
    TDriveSymbol(QWidget* parent, FlashGroup group, TFlashRate rate, TColor colorRun);

    // How a tick shows its result: redrawn at once, or at the next paint cycle.
    enum class TickRedraw { Now, Later };
    // Tick of the free-running group: the alarm flash and the run blink each
    // advance one phase, then the symbol is redrawn as `redraw` says.
    void FreeRunningTick(TickRedraw redraw);

    // Pen and fill of the direction arrows: a green outline filled with the
    // blink colour while the drive runs; neither pen nor fill otherwise, so the
    // arrows leave no mark.
    void SetArrowStyle(platform::Canvas& canvas) const;

private:
    TState state_ = TState::Stop;
    TColor colorRun_;
    TColor colorAccelerate_ = clYellow;
    TColor colorStop_ = clSilver;
    TColor blinkColor_ = clBtnFace;
};

}  // namespace symbols
