#include <QAbstractButton>
#include <QLabel>

#include "console/Gauge.h"
#include "console/Panel.h"
#include "console/Shape.h"
#include "console/WidgetColours.h"
#include "symbols/Conveyor.h"
#include "symbols/LEDTablo.h"
#include "symbols/Latch.h"
#include "symbols/Noria.h"
#include "symbols/Pipe.h"
#include "symbols/PipeTurn.h"
#include "tests/console/FrmMainFixture.h"

namespace console_test {
namespace {

class Diagram : public FrmMainTest {
protected:
    void SetUp() override { RunStartup(); }

    // Puts a device in Remote mode and posts a command, as the panel would.
    void Command(int dev, int32_t code) {
        Form().plant().Dev[dev].Mode = plant::kModeRemote;
        Form().plant().Dev[dev].Command = code;
    }
    bool Colored(const char* pipe) {
        if (auto* p = Form().findChild<symbols::TPipe*>(pipe)) return p->Colored();
        return Find<symbols::TPipeTurn>(pipe)->Colored();
    }
};

TEST_F(Diagram, OpeningValveTurnsItsSymbol) {
    auto* latch = Find<symbols::TLatch>("Latch_1");
    EXPECT_EQ(latch->CloseUngle(), 90);
    Command(1, plant::kCmdOpen);
    ControllerTicks(17);  // announcement, 15 steps, and the tick that shows the last
    EXPECT_EQ(latch->Ungle(), 45);
    ControllerTicks(16);
    EXPECT_EQ(latch->Ungle(), 90);
    EXPECT_EQ(latch->Mode(), symbols::TMode::Remote);
    EXPECT_EQ(Form().plant().Dev[1].State, plant::kStateOpen);
}

TEST_F(Diagram, RunningConveyorColoursItsPipes) {
    for (const char* pipe : {"Pipe1", "Pipe2", "Pipe3", "Pipe4", "Pipe9", "PipeTurn1"}) {
        EXPECT_FALSE(Colored(pipe)) << pipe;
    }
    Command(15, plant::kCmdOpen);  // conveyor 3.3 feeds the vessel chute
    ControllerTicks(2);
    EXPECT_TRUE(Colored("Pipe1"));
    EXPECT_TRUE(Colored("Pipe4"));
    EXPECT_TRUE(Colored("PipeTurn1"));
    EXPECT_FALSE(Colored("Pipe2"));
    EXPECT_FALSE(Colored("Pipe3"));
    EXPECT_FALSE(Colored("Pipe9"));

    Command(15, plant::kCmdClose);
    ControllerTicks(4);
    EXPECT_FALSE(Colored("Pipe1"));
}

TEST_F(Diagram, DrivesShowModeAndState) {
    auto* noria = Find<symbols::TNoria>("Noria1");
    Command(18, plant::kCmdOpen);
    ControllerTicks(3);  // announced, running up, running
    EXPECT_EQ(noria->State(), symbols::TState::Acceleration);
    ControllerTicks(1);  // the symbol follows one tick later
    EXPECT_EQ(noria->Mode(), symbols::TMode::Remote);
    EXPECT_EQ(noria->State(), symbols::TState::Run);
}

TEST_F(Diagram, FirstTickShowsTheFullSiloInItsUpperAlarmZone) {
    ControllerTicks(1);
    EXPECT_FALSE(Find("AH1")->isHidden());
    EXPECT_TRUE(Find("WH1")->isHidden());
    EXPECT_EQ(Find<console::TPanel>("LevelValue1")->Color(), 0xA0A0F0u);
    EXPECT_EQ(Find<console::TPanel>("LevelValue1")->text(), "15000");
    EXPECT_EQ(Find<console::TGauge>("Level1")->Progress(), 100);
    auto* zone = Find<QLabel>("IndR1");
    EXPECT_EQ(zone->text(), "AH");
    EXPECT_EQ(console::FontColour(zone), 0x0000FFu);
    EXPECT_EQ(JournalColourOf("Параметр вошел в верхнюю аварийную зону"), QColor(Qt::red));

    // Silo 2 at 4500 t stays in the working zone.
    for (const char* lamp : {"AH2", "WH2", "WL2", "AL2"}) EXPECT_TRUE(Find(lamp)->isHidden());
    EXPECT_EQ(Find<console::TPanel>("LevelValue2")->text(), "4500");
    EXPECT_EQ(Find<QLabel>("IndR2")->text(), "НОРМА");
    EXPECT_EQ(Find<QLabel>("MassaR2")->text(), "4500.0");
    EXPECT_EQ(Find<QLabel>("FillingR2")->text(), "30.0%");
    EXPECT_EQ(Find<console::TGauge>("Level2")->Progress(), 30);
}

TEST_F(Diagram, ZoneIsKeptWhileTheSiloPageIsShown) {
    Find<QAbstractButton>("BtnSilosDetail")->click();
    Find("PanelVisual")->hide();  // whatever the page switch does, the lamps decide
    ControllerTicks(3);
    const QStringList lines = JournalLines();
    EXPECT_EQ(lines.filter("верхнюю аварийную зону").size(), 1);
}

TEST_F(Diagram, TotalsReachTheBoardsAndTheSiloPage) {
    ControllerTicks(1);
    EXPECT_DOUBLE_EQ(static_cast<double>(Find<symbols::TLEDTablo>("LEDTablo3")->Value()), 38250.0);
    EXPECT_EQ(Find<QLabel>("Sum1_4")->text(), "38250.0");
    EXPECT_DOUBLE_EQ(static_cast<double>(Find<symbols::TLEDTablo>("LEDTablo1")->Value()), 0.0);
    EXPECT_EQ(Find<console::TPanel>("PanelSpeed")->text(), "0");
}

// Regional settings with a decimal comma: every number of the silo page and the
// boards takes it, whatever the toolkit's own default locale says.
class DiagramWithDecimalComma : public Diagram {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        services.decimalSeparator = ',';
        Diagram::SetUp();
    }
};

TEST_F(DiagramWithDecimalComma, SiloPageAndBoardsShowTheSystemSeparator) {
    Form().plant().Tank[2] = 14995.8;
    ControllerTicks(1);
    EXPECT_EQ(Find<QLabel>("FillingR1")->text(), "100,0%");
    EXPECT_EQ(Find<QLabel>("MassaR2")->text(), "14995,8");
    EXPECT_EQ(Find<QLabel>("FillingR2")->text(), "100,0%");
    EXPECT_EQ(Find<QLabel>("Sum1_4")->text(), "48745,8");
    EXPECT_EQ(Find<symbols::TLEDTablo>("LEDTablo3")->Text(), "48745,8");
}

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
