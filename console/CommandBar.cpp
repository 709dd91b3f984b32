#include "console/CommandBar.h"

#include <QDateTime>
#include <QPushButton>

#include "console/Access.h"
#include "console/ArchiveLink.h"
#include "console/ArchiveWindow.h"
#include "console/NotAvailable.h"
#include "console/OnClick.h"
#include "console/Services.h"
#include "console/SignInDialog.h"
#include "console/StateKeeper.h"
#include "platform/services/MessageBoxes.h"

namespace console {

namespace {

const char* const kExitTitle = "Завершение программы";

constexpr Control kLayout[] = {
    {"BtnBlock", Kind::Button, {472, 2, 80, 20}, "Блокировка", Look().Bold().Ink(palette::Maroon)},
    {"BtnRegistration", Kind::Button, {668, 2, 80, 20}, "Регистрация"},
    {"BtnJournal", Kind::Button, {756, 2, 80, 20}, "Журналы"},
    {"BtnSetup", Kind::Button, {844, 2, 80, 20}, "Настройки"},
    {"BtnExit", Kind::Button, {930, 2, 80, 20}, "Выход"},
};

}  // namespace

CommandBar::CommandBar(QWidget& bar, const RegionServices& services, StateKeeper& state,
                       const ArchiveServices& archive)
    : bar_(bar),
      messages_(services.messages),
      statePath_(services.statePath),
      state_(state),
      access_(services.access),
      archive_(archive),
      decimalSeparator_(services.decimalSeparator) {
    const Controls made = BuildControls(bar, Layout());
    block_ = qobject_cast<QPushButton*>(made.value("BtnBlock"));
    setup_ = qobject_cast<QPushButton*>(made.value("BtnSetup"));
    OnClick(made.value("BtnRegistration"), this, &CommandBar::BtnRegistrationClick);
    OnClick(made.value("BtnJournal"), this, &CommandBar::BtnJournalClick);
    OnClick(made.value("BtnExit"), this, &CommandBar::BtnExitClick);
}

CommandBar::~CommandBar() = default;

std::span<const Control> CommandBar::Layout() {
    return kLayout;
}

// Closing saves the state file; if that fails the window stays open, and the
// next "Выход" offers to close without saving.
void CommandBar::BtnExitClick() {
    if (!access_.Allows(users::Action::Exit)) return;
    if (state_.CloseSaveFailed()) {
        if (!AskExitUnsaved()) return;
        state_.LeaveUnsaved();
    } else if (!AskExit()) {
        return;
    }
    bar_.window()->close();
}

void CommandBar::BtnRegistrationClick() {
    if (!access_.On()) {
        ShowNotAvailable(messages_);
        return;
    }
    if (signIn_ == nullptr) signIn_ = new SignInDialog(*bar_.window(), access_);
    signIn_->Open();
}

void CommandBar::BtnNotWorklClick() {
    ShowNotAvailable(messages_);
}

void CommandBar::BtnJournalClick() {
    if (!archive_.link.IsOn()) {
        ShowNotAvailable(messages_);
        return;
    }
    if (!archiveWindow_) {
        archiveWindow_ =
            std::make_unique<ArchiveWindow>(archive_.link, messages_, archive_.saveDialog,
                                            archive_.now, decimalSeparator_, bar_.window());
        archiveWindow_->SetBlocked(blocked_);
    }
    archiveWindow_->Open();
}

void CommandBar::SetBlocked(bool blocked) {
    blocked_ = blocked;
    if (archiveWindow_) archiveWindow_->SetBlocked(blocked);
}

bool CommandBar::AskExit() {
    return messages_.Show(kExitTitle, "Вы действительно хотите завершить работу программы?",
                          platform::MsgButtons::YesNo,
                          platform::MsgIcon::Question) == platform::MsgResult::Yes;
}

bool CommandBar::AskExitUnsaved() {
    const std::string since = state_.SavedAt().toString("dd.MM.yyyy HH:mm:ss").toStdString();
    const std::string question =
        "Не удалось сохранить состояние установки в файл\r" + statePath_ +
        ".\r\rЗавершить работу программы без сохранения?\rБудут потеряны все изменения с " + since +
        ":\rрежимы и состояния оборудования, положения задвижек,\rсостояния маршрутов, "
        "запасы зерна в силосах\rи отгруженный на судно тоннаж.";
    return messages_.Show(kExitTitle, question, platform::MsgButtons::YesNo,
                          platform::MsgIcon::Exclamation) == platform::MsgResult::Yes;
}

}  // namespace console
