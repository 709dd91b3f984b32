#include "console/CommandBar.h"

#include <QDateTime>

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

CommandBar::CommandBar(QWidget& bar, platform::MessageBoxes& messages) : messages_(messages) {
    BuildControls(bar, Layout());
}

std::span<const Control> CommandBar::Layout() {
    return kLayout;
}

bool CommandBar::AskExit() {
    return messages_.Show(kExitTitle, "Вы действительно хотите завершить работу программы?",
                          platform::MsgButtons::YesNo,
                          platform::MsgIcon::Question) == platform::MsgResult::Yes;
}

bool CommandBar::AskExitUnsaved(const std::string& statePath, const QDateTime& savedAt) {
    const std::string since = savedAt.toString("dd.MM.yyyy HH:mm:ss").toStdString();
    const std::string question =
        "Не удалось сохранить состояние установки в файл\r" + statePath +
        ".\r\rЗавершить работу программы без сохранения?\rБудут потеряны все изменения с " + since +
        ":\rрежимы и состояния оборудования, положения задвижек,\rсостояния маршрутов, "
        "запасы зерна в силосах\rи отгруженный на судно тоннаж.";
    return messages_.Show(kExitTitle, question, platform::MsgButtons::YesNo,
                          platform::MsgIcon::Exclamation) == platform::MsgResult::Yes;
}

void CommandBar::ShowNotAvailable() {
    messages_.Show("", "В демонстрационной версии программы\rданная функция не подключена.",
                   platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
}

}  // namespace console
