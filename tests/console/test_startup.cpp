#include <sys/stat.h>

#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "console/Panel.h"
#include "console/StateLock.h"
#include "console/StatusBar.h"
#include "state/StateFile.h"
#include "tests/console/FrmMainFixture.h"

namespace console_test {
namespace {

class Startup : public FrmMainTest {
protected:
    void WriteState(const QByteArray& bytes) {
        QFile file(QString::fromStdString(StatePath()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadState() {
        QFile file(QString::fromStdString(StatePath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool StateFileExists() { return QFileInfo::exists(QString::fromStdString(StatePath())); }
};

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

// Before step 0 the tables hold no device, so a click on a symbol opens
// nothing; a panel opened before the controller starts closes with its start.
TEST_F(Startup, DevicePanelOpensOnceTheTablesAreFilledAndClosesWhenTheControllerStarts) {
    Form().FormActivate();
    QTest::mouseClick(Find("Conveyor1"), Qt::LeftButton);
    EXPECT_TRUE(Find("PanelDiscret")->isHidden());
    EXPECT_EQ(Form().plant().SelectedDev, 0);

    for (int i = 0; i < 3; ++i) StartupTick();
    QTest::mouseClick(Find("Latch_5"), Qt::LeftButton);
    ASSERT_EQ(Form().plant().SelectedDev, 5);
    ASSERT_TRUE(PanelTimer()->isActive());
    StartupTick();
    EXPECT_EQ(Form().plant().SelectedDev, 0);
    EXPECT_TRUE(Find("PanelDiscret")->isHidden());
    EXPECT_FALSE(PanelTimer()->isActive());
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
    state::LoadState(reloaded, StatePath());
    EXPECT_DOUBLE_EQ(reloaded.Tank[2], 1234.5);
}

// Before start-up step 0 the tables hold no plant: saving them would wipe the
// file (blank names, empty silos).
class EarlyEnd : public Startup, public testing::WithParamInterface<bool> {};

TEST_P(EarlyEnd, BeforeTheStateFileIsReadLeavesItByteIdentical) {
    const QByteArray original =
        "[Dev3]\r\nMode=2\r\n; an operator's note\r\n[Level]\r\nTank1=900\r\n";
    WriteState(original);
    Form().show();  // activation starts the start-up; its first step has not run
    const bool shutdown = GetParam();
    EXPECT_TRUE(shutdown ? Form().SaveForShutdown() : Form().close());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ReadState(), original);
}

INSTANTIATE_TEST_SUITE_P(CloseOrShutdown, EarlyEnd, testing::Bool(),
                         [](const auto& info) { return info.param ? "Shutdown" : "Close"; });

struct UnreadableKind {
    const char* name;
    void (*make)(const std::string& path);
    const char* reason;
};
void PrintTo(const UnreadableKind& kind, std::ostream* os) {
    *os << kind.name;
}

class UnreadableStateFile : public Startup, public testing::WithParamInterface<UnreadableKind> {};

TEST_P(UnreadableStateFile, IsToldOnceNeverWritten) {
    GetParam().make(StatePath());
    RunStartup();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Не удалось прочитать файл состояния\r" + StatePath() +
                                          "\r(" + GetParam().reason +
                                          ").\r\rПрограмма работает с начальными значениями\r"
                                          "и не будет записывать этот файл.");
    EXPECT_EQ(messages.shown[0].buttons, platform::MsgButtons::Ok);
    EXPECT_EQ(Form().InitStep(), 5);  // the start-up went on
    EXPECT_DOUBLE_EQ(Form().plant().Tank[2], 4500.0);

    // Not even once it has become a readable file: its content was never seen.
    std::filesystem::remove(StatePath());
    WriteState("[Dev1]\nMode=3\n");
    Form().plant().Tank[2] = 1234.5;
    Form().TimerSaveStateTimer();
    Form().show();
    EXPECT_TRUE(Form().close());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(ReadState(), "[Dev1]\nMode=3\n");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnreadableStateFile,
    testing::Values(
        UnreadableKind{"Folder", [](const std::string& p) { std::filesystem::create_directory(p); },
                       "Is a directory"},
        UnreadableKind{"Pipe", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); },
                       "not a regular file"},
        UnreadableKind{"LinkLoop",
                       [](const std::string& p) { std::filesystem::create_symlink(p, p); },
                       "Too many levels of symbolic links"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, PeriodicSaveWritesWhatACloseWouldButLeavesTheRunningPlantAlone) {
    RunStartup();
    plant::Plant& p = Form().plant();
    p.Route[1].Command = plant::kRouteCmdStart;  // conveyor 3.3, conveyor 3.2, valve М2
    for (int i = 0; i < 50 && p.Dev[15].Mode != plant::kModeAuto; ++i) ControllerTicks(1);
    ASSERT_EQ(p.Route[1].State, plant::kRouteStarting);
    ASSERT_EQ(p.Dev[15].Mode, plant::kModeAuto);

    Form().TimerSaveStateTimer();
    const QByteArray saved = ReadState();
    EXPECT_TRUE(saved.contains("[Dev15]\nName=Конвейер 3.3\nMode=1\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("[Route]\nState1=0\n")) << saved.toStdString();

    // In memory the start goes on to its end.
    EXPECT_EQ(p.Route[1].State, plant::kRouteStarting);
    EXPECT_EQ(p.Dev[15].Mode, plant::kModeAuto);
    for (int i = 0; i < 200 && p.Route[1].State != plant::kRouteRunning; ++i) ControllerTicks(1);
    EXPECT_EQ(p.Route[1].State, plant::kRouteRunning);
    for (const int d : {15, 14, 2}) EXPECT_EQ(p.Dev[d].Mode, plant::kModeAuto) << d;
}

TEST_F(Startup, PeriodicSaveWritesOnlyWhenASavedValueChanged) {
    RunStartup();
    Form().TimerSaveStateTimer();
    EXPECT_FALSE(StateFileExists());  // nothing changed since the start
    Form().plant().Dev[4].Mode = plant::kModeRemote;
    Form().TimerSaveStateTimer();
    EXPECT_TRUE(StateFileExists());
    std::filesystem::remove(StatePath());
    Form().plant().Dev[4].Mode = plant::kModeAuto;  // saved as Remote: the same file
    Form().TimerSaveStateTimer();
    EXPECT_FALSE(StateFileExists());
}

TEST_F(Startup, KilledConsoleLosesNothingOlderThanTheSaveInterval) {
    services.saveInterval = std::chrono::milliseconds(20);
    RunStartup();
    const auto* timer = Find<QTimer>("TimerSaveState");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 20);
    Form().plant().Tank[2] = 1234.5;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ReadState().contains("Tank2=1234.5"); }, 10000));
    form.reset();  // killed: nothing is written any more

    plant::Plant reloaded;
    plant::FillDefinitions(reloaded);
    state::LoadState(reloaded, StatePath());
    EXPECT_DOUBLE_EQ(reloaded.Tank[2], 1234.5);
}

TEST_F(Startup, SecondConsoleBesideALockedStateFileSaysSoAndLeavesTheFileAlone) {
    WriteState("[Dev3]\nMode=1\n");
    console::StateLock first(StatePath());
    ASSERT_TRUE(first.Take(messages));
    console::StateLock second(StatePath());
    EXPECT_FALSE(second.Take(messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Файл состояния\r" + StatePath() +
                                          "\rуже используется другой запущенной программой.\r\r"
                                          "Вторая копия программы не будет запущена.");
    EXPECT_EQ(ReadState(), "[Dev3]\nMode=1\n");

    first.Release();
    EXPECT_TRUE(second.Take(messages));
    // A folder that cannot hold a lock file is no reason to refuse to run.
    console::StateLock nowhere(dir.filePath("missing/GrainTerminal.INI").toStdString());
    EXPECT_TRUE(nowhere.Take(messages));
    EXPECT_EQ(messages.shown.size(), 1u);
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
    return test_support::RunHeadless(argc, argv);
}
