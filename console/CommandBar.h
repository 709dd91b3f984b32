#pragma once

#include <span>
#include <string>

#include "console/Layout.h"

class QDateTime;

namespace platform {
class MessageBoxes;
}

namespace console {

// The system command bar along the bottom of the window: "Блокировка",
// "Регистрация", "Журналы", "Настройки" and "Выход", with the questions and
// notices its commands show. The window wires the buttons.
class CommandBar {
public:
    CommandBar(QWidget& bar, platform::MessageBoxes& messages);

    static std::span<const Control> Layout();

    // "Выход": true when the operator confirms the exit question.
    bool AskExit();
    // "Выход" after the state file could not be saved: true when the operator
    // chooses to close without saving what changed since `savedAt`.
    bool AskExitUnsaved(const std::string& statePath, const QDateTime& savedAt);
    // A function the demonstration does not provide: one notice.
    void ShowNotAvailable();

private:
    platform::MessageBoxes& messages_;
};

}  // namespace console
