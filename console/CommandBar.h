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

class StateKeeper;
struct RegionServices;

// The system command bar along the bottom of the window: "Блокировка",
// "Регистрация", "Журналы", "Настройки" and "Выход", with the questions and
// notices its commands show. "Выход" and the two functions the demonstration
// does not provide are wired to its handlers here; "Блокировка" and
// "Настройки" open panels of the middle section, and the window wires them.
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
    // without saving.
    void BtnExitClick();
    // "Регистрация", "Журналы": not in the demonstration.
    void BtnNotWorklClick();

private:
    bool AskExit();
    bool AskExitUnsaved();

    QWidget& bar_;
    platform::MessageBoxes& messages_;
    std::string statePath_;
    StateKeeper& state_;
    QPushButton* block_ = nullptr;
    QPushButton* setup_ = nullptr;
};

}  // namespace console
