#include <QAbstractButton>
#include <QTest>

#include "console/Panel.h"
#include "platform/services/WavePlayer.h"
#include "tests/console/FrmMainFixture.h"

namespace console_test {
namespace {

using platform::MsgResult;

class RecordingPlayer : public platform::WavePlayer {
public:
    void Play(const std::string& file) override { played.push_back(file); }
    std::vector<std::string> played;
};

const std::string kRoute1StartQuestion =
    "Вы действительно хотите запустить маршрут\r"
    "№1. Погрузка на судно из силоса №1?\r"
    "\r"
    "ВНИМАНИЕ !\r"
    "Убедитесь, что все устройства входящие в маршрут находятся в\r"
    "дистанционном режиме управления.\r"
    "В демонстрационной версии программы проверка готовности оборудования\r"
    "перед запуском маршрута не производится.";

class RoutePanel : public FrmMainTest {
protected:
    void SetUp() override { RunStartup(); }

    void ClickRoute(int r) {
        QTest::mouseClick(Find(QString("Route%1").arg(r).toLatin1().constData()), Qt::LeftButton);
    }
    console::TPanel* Entry(int r) {
        return Find<console::TPanel>(QString("Route%1").arg(r).toLatin1().constData());
    }
    plant::TRoute& Route(int r) { return Form().plant().Route[r]; }
    // A route that runs as far as the tables are concerned.
    void MarkRunning(int r) {
        Route(r).State = plant::kRouteRunning;
        ControllerTicks(1);
    }
};

TEST_F(RoutePanel, StartQuestionHasEightLinesAndYesPostsTheStart) {
    messages.answer = [] { return MsgResult::Yes; };
    ClickRoute(1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Запуск маршрута");
    EXPECT_EQ(messages.shown[0].text, kRoute1StartQuestion);
    EXPECT_EQ(messages.shown[0].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Question);
    EXPECT_EQ(Route(1).Command, plant::kRouteCmdStart);

    // The next tick takes the command over, the one after shows it.
    ControllerTicks(1);
    EXPECT_EQ(Route(1).State, plant::kRouteStarting);
    ControllerTicks(1);
    EXPECT_EQ(Entry(1)->Color(), 0xC8ECECu);
    EXPECT_EQ(Entry(1)->Hint(), "Маршрут в состоянии запуска");
}

// The route announcement is not silenced by the sound switch (that mutes the
// silo temperature alarms only) and reaches the desktop's player.
TEST_F(RoutePanel, ConfirmedStartIsAnnouncedThroughThePlayerEvenWithSoundOff) {
    RecordingPlayer player;
    form.reset();
    services.player = &player;
    RunStartup();
    Find<QAbstractButton>("BtnEnabledSound")->click();
    ASSERT_FALSE(Form().SoundOn());
    messages.answer = [] { return MsgResult::Yes; };
    ClickRoute(3);
    EXPECT_TRUE(player.played.empty());  // the click itself is silent
    ControllerTicks(1);
    EXPECT_EQ(player.played,
              (std::vector<std::string>{"Bell.wav", "RouteStart.wav", "Route_3.wav"}));
}

TEST_F(RoutePanel, NoChangesNothing) {
    messages.answer = [] { return MsgResult::No; };
    ClickRoute(3);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(Route(3).Command, 0);
    ControllerTicks(1);
    EXPECT_EQ(Route(3).State, plant::kRouteStopped);
}

TEST_F(RoutePanel, CaptionInTheQuestionIsTrimmed) {
    ClickRoute(9);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.substr(0, messages.shown[0].text.find("?") + 1),
              "Вы действительно хотите запустить маршрут\r"
              "№9. Прием зерна из ж/д транспорта в силос №1?");
}

TEST_F(RoutePanel, RunningRouteGetsTheOneLineStopQuestion) {
    MarkRunning(2);
    EXPECT_EQ(Entry(2)->Color(), 0xC8ECC8u);
    EXPECT_EQ(Entry(2)->Hint(), "Маршрут в работе");
    messages.answer = [] { return MsgResult::Yes; };
    ClickRoute(2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Вы действительно хотите остановить маршрут\r№2. Погрузка на судно из силоса №2?");
    EXPECT_EQ(Route(2).Command, plant::kRouteCmdStop);
}

TEST_F(RoutePanel, ForbiddenEntryIsGreyAndIgnoresClicks) {
    MarkRunning(5);  // intake into silo 1 forbids shipping from silo 1
    EXPECT_EQ(Entry(1)->FontColor(), 0x808080u);
    EXPECT_EQ(Entry(1)->Hint(), "Маршрут запрещен");
    EXPECT_EQ(Entry(1)->toolTip(), "Маршрут запрещен");
    EXPECT_EQ(Entry(2)->FontColor(), 0x000000u);

    ClickRoute(1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Route(1).Command, 0);
}

// Before start-up step 0 fills the tables no route may start: a click in the
// first second asks nothing, and a route clicked after the fill asks as usual.
TEST_F(RoutePanel, EntriesIgnoreClicksUntilStartupFillsTheTables) {
    form.reset();
    Form().FormActivate();
    messages.answer = [] { return MsgResult::Yes; };
    ClickRoute(1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Route(1).Command, 0);

    StartupTick();
    ClickRoute(1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(Route(1).Command, plant::kRouteCmdStart);
}

TEST_F(RoutePanel, StartingOrStoppingEntryIgnoresClicks) {
    Route(4).State = plant::kRouteStarting;
    ClickRoute(4);
    Route(4).State = plant::kRouteStopping;
    ClickRoute(4);
    EXPECT_TRUE(messages.shown.empty());
}

// The question is modal while the controller runs on: an answer that comes
// after the situation changed must not post a command for a route that may no
// longer run.
TEST_F(RoutePanel, YesAfterAConflictingRouteStartedPostsNothing) {
    messages.answer = [this] {
        MarkRunning(5);  // meanwhile another operator action started intake into silo 1
        return MsgResult::Yes;
    };
    ClickRoute(1);
    EXPECT_EQ(Route(1).Command, 0);
    ControllerTicks(2);
    EXPECT_EQ(Route(1).State, plant::kRouteStopped);
}

TEST_F(RoutePanel, YesAfterTheRouteStartedStoppingPostsNothing) {
    MarkRunning(2);
    messages.answer = [this] {
        Route(2).Command = plant::kRouteCmdStop;  // the silo limit stopped it meanwhile
        ControllerTicks(1);
        return MsgResult::Yes;
    };
    ClickRoute(2);
    EXPECT_EQ(Route(2).State, plant::kRouteStopping);
    EXPECT_EQ(Route(2).Command, 0);
}

TEST_F(RoutePanel, YesWhileNothingChangedStillPostsAfterTicks) {
    messages.answer = [this] {
        ControllerTicks(5);  // the plant runs on without touching route 7
        return MsgResult::Yes;
    };
    ClickRoute(7);
    EXPECT_EQ(Route(7).Command, plant::kRouteCmdStart);
}

TEST_F(RoutePanel, EntriesStartStoppedWithTheirCaptions) {
    form.reset();
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        console::TPanel* entry = Entry(r);
        EXPECT_EQ(entry->Tag(), r);
        EXPECT_EQ(entry->text().toStdString(), plant::RouteCaption(r));
        EXPECT_EQ(entry->Hint(), "Маршрут остановлен");
        EXPECT_EQ(entry->toolTip(), "Маршрут остановлен");
        EXPECT_EQ(entry->geometry(), QRect(229, 96 + 17 * (r - 1), 255, 17));
    }
}

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
