#include "console/MainFrm.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QTimer>

namespace console {

TFrmMain::TFrmMain(FrmMainServices services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {}

TFrmMain::~TFrmMain() = default;

bool TFrmMain::SoundOn() const {
    return true;
}

void TFrmMain::FormActivate() {}
void TFrmMain::TimerSysTimeTimer() {}
void TFrmMain::TimerInitializeTimer() {}
void TFrmMain::TimerEmulCPUTimer() {}
void TFrmMain::TimerReadStateTimer() {}
void TFrmMain::LatchControlClick() {}
void TFrmMain::DeviceControlClick() {}
void TFrmMain::BtnDiscretCloseClick() {}
void TFrmMain::BtnOnClick() {}
void TFrmMain::BtnOffClick() {}
void TFrmMain::BtnStopClick() {}
void TFrmMain::BtnResetClick() {}
void TFrmMain::BtnLocalClick() {}
void TFrmMain::BtnRemoteClick() {}
void TFrmMain::BtnRepairClick() {}
void TFrmMain::RouteControlClick() {}

void TFrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
}
void TFrmMain::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
}

}  // namespace console
