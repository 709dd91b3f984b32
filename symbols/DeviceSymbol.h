#pragma once

#include <QTimer>

#include "symbols/GraphicControl.h"
#include "symbols/SCADAType.h"

namespace symbols {

// What the four animated device symbols share: the control mode and its four
// outline colours, the alarm flag, the alarm flash rate and the owned flash
// timer that drives the flash colour.
//
// Two groups of symbols use the timer differently:
// - AlarmDriven (pump, gate valve): the timer runs only while Alarm is true;
//   setting Alarm runs a tick at once, so the background turns red at once.
// - FreeRunning (conveyor, bucket elevator): the timer runs from creation to
//   destruction; Alarm is a plain property and the ticks also blink the run
//   indicator.
class TDeviceSymbol : public TGraphicControl {
    Q_OBJECT
    // True while the device is in alarm: the symbol flashes red.
    Q_PROPERTY(bool Alarm READ Alarm WRITE setAlarm)
    // Flash phase: 2000, 1000 or 500 ms; also the period of the run blink.
    Q_PROPERTY(symbols::TFlashRate AlarmFlash READ AlarmFlash WRITE setAlarmFlash)
    // Control mode; picks the outline colour.
    Q_PROPERTY(symbols::TMode Mode READ Mode WRITE setMode)
    // Outline colour in Local, Remote, Auto and Repair mode.
    Q_PROPERTY(platform::TColor ColorLocal READ ColorLocal WRITE setColorLocal)
    Q_PROPERTY(platform::TColor ColorRemote READ ColorRemote WRITE setColorRemote)
    Q_PROPERTY(platform::TColor ColorAuto READ ColorAuto WRITE setColorAuto)
    Q_PROPERTY(platform::TColor ColorRepair READ ColorRepair WRITE setColorRepair)

public:
    enum class FlashGroup { AlarmDriven, FreeRunning };

    ~TDeviceSymbol() override;

    bool Alarm() const { return alarm_; }
    void setAlarm(bool alarm);
    TFlashRate AlarmFlash() const { return alarmFlash_; }
    void setAlarmFlash(TFlashRate rate);
    TMode Mode() const { return mode_; }
    void setMode(TMode mode);
    TColor ColorLocal() const { return colorLocal_; }
    void setColorLocal(TColor c);
    TColor ColorRemote() const { return colorRemote_; }
    void setColorRemote(TColor c);
    TColor ColorAuto() const { return colorAuto_; }
    void setColorAuto(TColor c);
    TColor ColorRepair() const { return colorRepair_; }
    void setColorRepair(TColor c);

    // The outline colour that the current mode selects.
    TColor CurrentModeColor() const;

    // clBtnFace at rest, alternating with clRed while the alarm flashes.
    TColor FlashColor() const { return flashColor_; }
    // Milliseconds per flash phase, from AlarmFlash.
    int FlashInterval() const { return flashInterval_; }
    const QTimer& FlashTimer() const { return *flashTimer_; }

    // One tick of the flash timer. Public so that tests can step time by hand.
    virtual void FlashTimerTick() = 0;

protected:
    TDeviceSymbol(QWidget* parent, FlashGroup group, TFlashRate rate);

    // Tick of the alarm-driven group: starts or stops the timer, advances or
    // clears the flash, then redraws at once.
    void AlarmDrivenTick();
    // Flash step of the free-running group: alternates while Alarm is true,
    // falls back to clBtnFace otherwise.
    void FlipFlash();

private:
    FlashGroup group_;
    QTimer* flashTimer_;
    int flashInterval_;
    TFlashRate alarmFlash_;
    TMode mode_ = TMode::Local;
    TColor colorLocal_ = clGreen;
    TColor colorRemote_ = clGray;
    TColor colorAuto_ = clBlue;
    TColor colorRepair_ = clOlive;
    bool alarm_ = false;
    TColor flashColor_ = clBtnFace;
};

}  // namespace symbols
