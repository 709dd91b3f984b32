#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "console/ClockRandom.h"
#include "console/Journal.h"
#include "console/MainFrm.h"
#include "console/Panel.h"
#include "plant/Wagons.h"
#include "platform/services/MessageBoxes.h"
#include "platform/services/PointerConfinement.h"
#include "symbols/Title.h"

// The system commands of the button bar, the lower band and the diagram, and
// the wagon timer.
namespace console {

namespace {

const char* const kExitTitle = "Завершение программы";
const char* const kExitQuestion = "Вы действительно хотите завершить работу программы?";
const char* const kNotAvailable =
    "В демонстрационной версии программы\rданная функция не подключена.";

}  // namespace

// Block: the console stays alive (timers, controller, journal) but the mouse
// cannot leave the block panel until "Разблокировать" is pressed.
void TFrmMain::BtnBlockClick() {
    journal_->Append(" Блокировка системы", plant::JournalColour::Blue);
    PanelBlock->show();
    PanelBlock->raise();
    Edit1->setFocus();
    services_.confinement->Confine(PanelBlock);
}

// Unblock: the password is not checked, nor cleared.
void TFrmMain::Button1Click() {
    journal_->Append(" Разблокирование системы", plant::JournalColour::Blue);
    PanelBlock->hide();
    services_.confinement->Release();
}

// Sound is off exactly while the crossed-out loudspeaker shows.
void TFrmMain::BtnEnabledSoundClick() {
    BtnDisabledSound->show();
}

void TFrmMain::BtnDisabledSoundClick() {
    BtnDisabledSound->hide();
}

// Closing saves the state file; if that fails the window stays open, and the
// next "Выход" offers to close without saving.
void TFrmMain::BtnExitClick() {
    if (exitSaveFailed_) {
        leaveUnsaved_ = ConfirmExitWithoutSaving();
        if (leaveUnsaved_) close();
        return;
    }
    const platform::MsgResult answer = services_.messages->Show(
        kExitTitle, kExitQuestion, platform::MsgButtons::YesNo, platform::MsgIcon::Question);
    if (answer == platform::MsgResult::Yes) close();
}

bool TFrmMain::ConfirmExitWithoutSaving() {
    const std::string since = savedAt_.toString("dd.MM.yyyy HH:mm:ss").toStdString();
    const std::string question =
        "Не удалось сохранить состояние установки в файл\r" + services_.statePath +
        ".\r\rЗавершить работу программы без сохранения?\rБудут потеряны все изменения с " + since +
        ":\rрежимы и состояния оборудования, положения задвижек,\rсостояния маршрутов, "
        "запасы зерна в силосах\rи отгруженный на судно тоннаж.";
    return services_.messages->Show(kExitTitle, question, platform::MsgButtons::YesNo,
                                    platform::MsgIcon::Exclamation) == platform::MsgResult::Yes;
}

void TFrmMain::BtnSetupClick() {
    BtnDiscretCloseClick();
    PanelDiscret->hide();
    PanelSetup->show();
}

void TFrmMain::BtnSetupCloseClick() {
    PanelSetup->hide();
}

void TFrmMain::BtnNotWorklClick() {
    services_.messages->Show("", kNotAvailable, platform::MsgButtons::Ok,
                             platform::MsgIcon::Exclamation);
}

void TFrmMain::BtnSilosDetailClick() {
    PanelTanks->show();
    PanelVisual->hide();
}

void TFrmMain::BtnVisualizationClick() {
    PanelVisual->show();
    PanelTanks->hide();
}

// The button comes back when the pass ends (Title1Done). A pass that cannot
// start raises no end, so the button is given back at once.
void TFrmMain::BtnWhatTisClick() {
    BtnWhatTis->hide();
    Title1->Scroll(true);
    if (!Title1->Running()) BtnWhatTis->show();
}

void TFrmMain::Title1Done() {
    BtnWhatTis->show();
}

// The board shows 0.0 from the next controller tick.
void TFrmMain::BtnResetCountClick() {
    plant_.ShippingMassa = 0;
}

// Each second: a fresh seed from the clock, then one step of the wagons and
// the silo temperatures.
void TFrmMain::TimerVagonOnTimer() {
    random_->Reseed();
    if (wagons_) wagons_->Tick();
}

}  // namespace console
