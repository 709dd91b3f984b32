#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "console/Layout.h"
#include "console/Services.h"

class QPushButton;

namespace platform {
class MessageBoxes;
}

namespace console {

class Access;
class ArchiveWindow;
class SignInDialog;
class StateKeeper;

// The system command bar along the bottom of the window: "Блокировка",
// "Регистрация", "Журналы", "Настройки" and "Выход", with the questions and
// notices its commands show and the sign-in dialog. "Выход", "Регистрация"
// and "Журналы" (the event archive's window while the archive is on) are wired
// to its handlers here; "Блокировка" and "Настройки" open panels of the middle
// section, and the window wires them.
class CommandBar : public QObject {
    Q_OBJECT

public:
    // `state` keeps the state file: an exit after a failed save says what is lost.
    CommandBar(QWidget& bar, const RegionServices& services, StateKeeper& state,
               const ArchiveServices& archive);
    ~CommandBar() override;

    static std::span<const Control> Layout();

    QPushButton& BtnBlock() const { return *block_; }
    QPushButton& BtnSetup() const { return *setup_; }

public slots:
    // "Выход": closes the window once the operator confirms; closing saves the
    // state file. After a save that failed, the question is whether to close
    // without saving. Only for those who may command the plant.
    void BtnExitClick();
    // "Регистрация": the sign-in dialog; without a users file, the notice
    // that the demonstration has no registration.
    void BtnRegistrationClick();
    // The notice that the demonstration does not provide a function.
    void BtnNotWorklClick();
    // "Журналы": the archive window, beside the console (raised when it shows
    // already); while the archive is off, the notice of "Регистрация".
    void BtnJournalClick();
    // Blocking the console blocks the archive window too.
    void SetBlocked(bool blocked);

private:
    bool AskExit();
    bool AskExitUnsaved();

    QWidget& bar_;
    platform::MessageBoxes& messages_;
    std::string statePath_;
    StateKeeper& state_;
    Access& access_;
    SignInDialog* signIn_ = nullptr;  // made at its first opening
    ArchiveServices archive_;
    char decimalSeparator_;
    bool blocked_ = false;
    std::unique_ptr<ArchiveWindow> archiveWindow_;
    QPushButton* block_ = nullptr;
    QPushButton* setup_ = nullptr;
};

}  // namespace console
