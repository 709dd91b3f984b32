#pragma once

#include <QObject>
#include <span>
#include <string>

#include "console/Layout.h"

class QPushButton;

namespace platform {
class MessageBoxes;
}

namespace console {

class Access;
class SignInDialog;
class StateKeeper;
struct RegionServices;

// The system command bar along the bottom of the window: "Блокировка",
// "Регистрация", "Журналы", "Настройки" and "Выход", with the questions and
// notices its commands show and the sign-in dialog. "Выход", "Регистрация"
// and "Журналы" are wired to its handlers here; "Блокировка" and "Настройки"
// open panels of the middle section, and the window wires them.
class CommandBar : public QObject {
    Q_OBJECT

public:
    // `state` keeps the state file: an exit after a failed save says what is lost.
    CommandBar(QWidget& bar, const RegionServices& services, StateKeeper& state);

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
    // "Журналы": not in the demonstration.
    void BtnNotWorklClick();

private:
    bool AskExit();
    bool AskExitUnsaved();

    QWidget& bar_;
    platform::MessageBoxes& messages_;
    std::string statePath_;
    StateKeeper& state_;
    Access& access_;
    SignInDialog* signIn_ = nullptr;  // made at its first opening
    QPushButton* block_ = nullptr;
    QPushButton* setup_ = nullptr;
};

}  // namespace console
