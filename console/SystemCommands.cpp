#include "console/MainFrm.h"

namespace console {

void TFrmMain::BtnBlockClick() {}
void TFrmMain::Button1Click() {}
void TFrmMain::BtnEnabledSoundClick() {}
void TFrmMain::BtnDisabledSoundClick() {}
void TFrmMain::BtnExitClick() {}
void TFrmMain::BtnSetupClick() {}
void TFrmMain::BtnSetupCloseClick() {}
void TFrmMain::BtnNotWorklClick() {}
void TFrmMain::BtnSilosDetailClick() {}
void TFrmMain::BtnVisualizationClick() {}
void TFrmMain::BtnWhatTisClick() {}
void TFrmMain::Title1Done() {}
void TFrmMain::BtnResetCountClick() {}
void TFrmMain::TimerVagonOnTimer() {}

}  // namespace console
