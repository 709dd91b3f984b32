// The route list alone: a plant with its controller over memory outlets, the
// list on a page of its own, and fake message boxes that answer the question.
#include <QTest>
#include <memory>

#include "console/Panel.h"
#include "console/RouteList.h"
#include "tests/console/FakeServices.h"
#include "tests/plant/PlantRig.h"
#include "tests/support/HeadlessMain.h"

namespace console_test {
namespace {

using platform::MsgResult;

const std::string kRoute1StartQuestion =
    "Вы действительно хотите запустить маршрут\r"
    "№1. Погрузка на судно из силоса №1?\r"
    "\r"
    "ВНИМАНИЕ !\r"
    "Убедитесь, что все устройства входящие в маршрут находятся в\r"
    "дистанционном режиме управления.\r"
    "В демонстрационной версии программы проверка готовности оборудования\r"
    "перед запуском маршрута не производится.";

class RoutePanel : public ::testing::Test {
protected:
    RoutePanel() { MakeList(rig.plant); }

    void MakeList(plant::Plant& plant) {
        page = std::make_unique<QWidget>();
        list = std::make_unique<console::RouteList>(*page, fakes.Over(plant));
    }

    console::TPanel* Entry(int r) {
        auto* entry = page->findChild<console::TPanel*>(QString("Route%1").arg(r));
        EXPECT_NE(entry, nullptr) << r;
        return entry;
    }
    void ClickRoute(int r) { QTest::mouseClick(Entry(r), Qt::LeftButton); }
    plant::TRoute& Route(int r) { return rig.plant.Route[r]; }
    // A route that runs as far as the tables are concerned; the controller
    // works out which routes it forbids.
    void MarkRunning(int r) {
        Route(r).State = plant::kRouteRunning;
        rig.Tick();
    }

    plant_test::PlantRig rig;
    FakeServices fakes;
    FakeMessages& messages = fakes.messages;
    std::unique_ptr<QWidget> page;
    std::unique_ptr<console::RouteList> list;
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

    rig.Tick();  // the next tick takes the command over
    EXPECT_EQ(Route(1).State, plant::kRouteStarting);
}

TEST_F(RoutePanel, NoChangesNothing) {
    messages.answer = [] { return MsgResult::No; };
    ClickRoute(3);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(Route(3).Command, 0);
    rig.Tick();
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
    messages.answer = [] { return MsgResult::Yes; };
    ClickRoute(2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Вы действительно хотите остановить маршрут\r№2. Погрузка на судно из силоса №2?");
    EXPECT_EQ(Route(2).Command, plant::kRouteCmdStop);
}

TEST_F(RoutePanel, ForbiddenRouteIgnoresClicks) {
    MarkRunning(5);  // intake into silo 1 forbids shipping from silo 1
    ASSERT_FALSE(Route(1).Permitted);
    ClickRoute(1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Route(1).Command, 0);
}

// Before start-up step 0 fills the tables no route may start: a click in the
// first second asks nothing, and a route clicked after the fill asks as usual.
TEST_F(RoutePanel, EntriesIgnoreClicksUntilStartupFillsTheTables) {
    plant::Plant empty;
    MakeList(empty);
    messages.answer = [] { return MsgResult::Yes; };
    ClickRoute(1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(empty.Route[1].Command, 0);

    plant::FillDefinitions(empty);
    ClickRoute(1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(empty.Route[1].Command, plant::kRouteCmdStart);
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
    rig.Tick(2);
    EXPECT_EQ(Route(1).State, plant::kRouteStopped);
}

TEST_F(RoutePanel, YesAfterTheRouteStartedStoppingPostsNothing) {
    MarkRunning(2);
    messages.answer = [this] {
        Route(2).Command = plant::kRouteCmdStop;  // the silo limit stopped it meanwhile
        rig.Tick();
        return MsgResult::Yes;
    };
    ClickRoute(2);
    EXPECT_EQ(Route(2).State, plant::kRouteStopping);
    EXPECT_EQ(Route(2).Command, 0);
}

TEST_F(RoutePanel, YesWhileNothingChangedStillPostsAfterTicks) {
    messages.answer = [this] {
        rig.Tick(5);  // the plant runs on without touching route 7
        return MsgResult::Yes;
    };
    ClickRoute(7);
    EXPECT_EQ(Route(7).Command, plant::kRouteCmdStart);
}

TEST_F(RoutePanel, EntriesStartStoppedWithTheirCaptions) {
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
