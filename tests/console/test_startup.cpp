#include <QFile>
#include <QLabel>
#include <QTimer>

#include "console/Panel.h"
#include "console/StateFile.h"
#include "console/StatusBar.h"
#include "tests/console/FrmMainFixture.h"

namespace console_test {
namespace {

class Startup : public FrmMainTest {};

TEST_F(Startup, ActivationStartsTheStartupTimerOnce) {
    auto* timer = Find<QTimer>("TimerInitialize");
    EXPECT_FALSE(timer->isActive());
    Form().FormActivate();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(Form().InitStep(), 0);
    Form().TimerInitializeTimer();
    Form().FormActivate();  // a second activation does not start over
    EXPECT_EQ(Form().InitStep(), 1);
}

TEST_F(Startup, OnlyTheThreeStartupLinesComeBeforeTheController) {
    Form().FormActivate();
    auto* controller = Find<QTimer>("TimerEmulCPU");
    auto* wagons = Find<QTimer>("TimerVagonOn");
    for (int step = 0; step < 3; ++step) {
        StartupTick();
        EXPECT_FALSE(controller->isActive()) << "after step " << step;
        EXPECT_FALSE(wagons->isActive()) << "after step " << step;
    }
    StartupTick();
    EXPECT_TRUE(controller->isActive());
    EXPECT_TRUE(wagons->isActive());

    // One, then two seconds apart; the registration line has its continuation.
    EXPECT_EQ(
        JournalLines(),
        (QStringList{"06.12.2026 14:05:09 Запуск системы",
                     "06.12.2026 14:05:10 Пользователь Зернов (оператор)", "\tзарегистрирован.",
                     "06.12.2026 14:05:12 Установлена связь с контроллером"}));
}

TEST_F(Startup, DiagramIsShownAtTheFifthTickAndTheTimerStops) {
    Form().FormActivate();
    auto* visual = Find("PanelVisual");
    for (int step = 0; step < 4; ++step) {
        StartupTick();
        EXPECT_TRUE(visual->isHidden()) << "after step " << step;
    }
    StartupTick();
    EXPECT_FALSE(visual->isHidden());
    EXPECT_FALSE(Find<QTimer>("TimerInitialize")->isActive());
    EXPECT_TRUE(Find("PanelTanks")->isHidden());
}

TEST_F(Startup, RegistrationFillsTheStatusBar) {
    auto* status = Find<console::TStatusBar>("StatusBar");
    EXPECT_EQ(status->PanelText(0), "Имя пользователя:");
    EXPECT_EQ(status->PanelText(1), "Статус:");
    Form().FormActivate();
    StartupTick();
    EXPECT_EQ(status->PanelText(0), "Имя пользователя:");
    StartupTick();
    EXPECT_EQ(status->PanelText(0), "Имя пользователя: Зернов");
    EXPECT_EQ(status->PanelText(1), "Статус: Оператор");
    EXPECT_EQ(status->PanelText(2), "    ");
}

TEST_F(Startup, WithoutStateFileThePlantStartsOnDefaults) {
    RunStartup();
    const plant::Plant& p = Form().plant();
    EXPECT_EQ(p.Dev[1].Name, "Задвижка М1");
    EXPECT_EQ(p.Dev[18].Name, "Нория 1.1");
    for (int d = 1; d <= plant::kDeviceCount; ++d) {
        EXPECT_EQ(p.Dev[d].Mode, plant::kModeLocal) << d;
        EXPECT_EQ(p.Dev[d].State, 2) << d;
        EXPECT_EQ(p.Dev[d].Ungle, 0) << d;
    }
    EXPECT_DOUBLE_EQ(p.Tank[1], 15000.0);
    EXPECT_DOUBLE_EQ(p.Tank[2], 4500.0);
    EXPECT_DOUBLE_EQ(p.Tank[3], 11250.0);
    EXPECT_DOUBLE_EQ(p.Tank[4], 7500.0);
    EXPECT_EQ(p.SelectedDev, 0);
    EXPECT_TRUE(Find("PanelDiscret")->isHidden());
}

TEST_F(Startup, StateFileIsReadAtTheFirstStep) {
    QFile file(QString::fromStdString(StatePath()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Dev3]\r\nMode=1\r\n");
    file.close();
    Form().FormActivate();
    StartupTick();
    EXPECT_EQ(Form().plant().Dev[3].Mode, plant::kModeRemote);
    EXPECT_EQ(Form().plant().Dev[1].Mode, plant::kModeLocal);
}

TEST_F(Startup, DevicePanelOpenedBeforeTheControllerIsClosedWithItsStart) {
    Form().FormActivate();
    for (int i = 0; i < 3; ++i) StartupTick();
    Form().plant().SelectedDev = 5;
    Find("PanelDiscret")->show();
    Find<QTimer>("TimerReadState")->start();
    StartupTick();
    EXPECT_EQ(Form().plant().SelectedDev, 0);
    EXPECT_TRUE(Find("PanelDiscret")->isHidden());
    EXPECT_FALSE(Find<QTimer>("TimerReadState")->isActive());
}

TEST_F(Startup, ClockShowsZerosUntilItsFirstTick) {
    auto* clockLabel = Find<QLabel>("SysTime");
    EXPECT_EQ(clockLabel->text(), "00:00:00");
    EXPECT_TRUE(Find<QTimer>("TimerSysTime")->isActive());
    Form().TimerSysTimeTimer();
    EXPECT_EQ(clockLabel->text(), "14:05:09");
    clock = clock.addSecs(1);
    Form().TimerSysTimeTimer();
    EXPECT_EQ(clockLabel->text(), "14:05:10");
}

TEST_F(Startup, CloseSavesTheState) {
    RunStartup();
    Form().plant().Tank[2] = 1234.5;
    EXPECT_TRUE(Form().close());
    EXPECT_TRUE(messages.shown.empty());
    plant::Plant reloaded;
    plant::FillDefinitions(reloaded);
    console::LoadState(reloaded, StatePath());
    EXPECT_DOUBLE_EQ(reloaded.Tank[2], 1234.5);
}

TEST_F(Startup, FailedSaveKeepsTheWindowOpenAndSaysWhere) {
    services.statePath = dir.filePath("missing-folder/GrainTerminal.INI").toStdString();
    RunStartup();
    Form().show();
    EXPECT_FALSE(Form().close());
    EXPECT_TRUE(Form().isVisible());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Unable to write to " + services.statePath);
    EXPECT_EQ(messages.shown[0].buttons, platform::MsgButtons::Ok);
}

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return console_test::RunTests(argc, argv);
}
