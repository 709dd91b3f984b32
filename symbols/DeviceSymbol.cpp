#include "symbols/DeviceSymbol.h"

namespace symbols {

TDeviceSymbol::TDeviceSymbol(QWidget* parent, FlashGroup group, TFlashRate rate)
    : TGraphicControl(parent),
      group_(group),
      flashTimer_(new QTimer(this)),
      flashInterval_(FlashIntervalOf(rate)),
      alarmFlash_(rate) {
    flashTimer_->setInterval(flashInterval_);
    connect(flashTimer_, &QTimer::timeout, this, [this] { FlashTimerTick(); });
    if (group_ == FlashGroup::FreeRunning) flashTimer_->start();
}

TDeviceSymbol::~TDeviceSymbol() {
    // The timer goes first, so no tick can reach a half-destroyed symbol.
    delete flashTimer_;
    flashTimer_ = nullptr;
}

void TDeviceSymbol::setAlarm(bool alarm) {
    alarm_ = alarm;
    if (group_ == FlashGroup::AlarmDriven) FlashTimerTick();
    Invalidate();
}

void TDeviceSymbol::setAlarmFlash(TFlashRate rate) {
    alarmFlash_ = rate;
    flashInterval_ = FlashIntervalOf(rate);
    // A running timer whose period changes starts its period anew; the same
    // period leaves it running undisturbed.
    if (flashTimer_->interval() != flashInterval_) flashTimer_->setInterval(flashInterval_);
    Invalidate();
}

void TDeviceSymbol::setMode(TMode mode) {
    mode_ = mode;
    Invalidate();
}

void TDeviceSymbol::setColorLocal(TColor c) {
    colorLocal_ = c;
    Invalidate();
}

void TDeviceSymbol::setColorRemote(TColor c) {
    colorRemote_ = c;
    Invalidate();
}

void TDeviceSymbol::setColorAuto(TColor c) {
    colorAuto_ = c;
    Invalidate();
}

void TDeviceSymbol::setColorRepair(TColor c) {
    colorRepair_ = c;
    Invalidate();
}

TColor TDeviceSymbol::CurrentModeColor() const {
    return ModeColor(mode_, colorLocal_, colorRemote_, colorAuto_, colorRepair_);
}

void TDeviceSymbol::AlarmDrivenTick() {
    if (alarm_) {
        if (!flashTimer_->isActive()) flashTimer_->start();
        flashColor_ = (flashColor_ == clRed) ? clBtnFace : clRed;
    } else {
        flashTimer_->stop();
        if (flashColor_ == clRed) flashColor_ = clBtnFace;
    }
    Repaint();
}

void TDeviceSymbol::FlipFlash() {
    if (alarm_)
        flashColor_ = (flashColor_ == clRed) ? clBtnFace : clRed;
    else if (flashColor_ == clRed)
        flashColor_ = clBtnFace;
}

}  // namespace symbols
