#include <QLabel>
#include <QPushButton>
#include <string>
#include <utility>
#include <vector>

#include "console/Journal.h"
#include "console/Sound.h"
#include "console/WagonsScreen.h"
#include "console/WidgetColours.h"
#include "plant/Wagons.h"
#include "platform/services/WavePlayer.h"
#include "symbols/LEDTablo.h"
#include "symbols/Silo.h"
#include "tests/console/FrmMainFixture.h"

namespace console_test {
namespace {

const QColor kRed(0xFF, 0x00, 0x00);

class FakePlayer : public platform::WavePlayer {
public:
    void Play(const std::string& file) override { played.push_back(file); }
    std::vector<std::string> played;
};

// Gives the draw set for this second; 0 (nothing happens) when none was set.
class ScriptedRandom : public plant::RandomOutlet {
public:
    int Next(int) override { return std::exchange(next, 0); }
    int next = 0;
};

// The wagon and temperature logic driven over the real window's controls.
class WagonsOnScreen : public FrmMainTest {
protected:
    WagonsOnScreen() {
        journal = std::make_unique<console::Journal>(*Find<console::JournalView>("RichMessage"),
                                                     [this] { return clock; });
        screen = std::make_unique<console::WagonsScreen>(Form());
        sound = std::make_unique<console::Sound>(player, [this] { return SoundOn(); });
        wagons = std::make_unique<plant::Wagons>(Form().plant(), *screen, *journal, *sound, random);
    }

    // One second; an idle timer draws `draw`, a moving one draws nothing.
    void Tick(int draw = 0) {
        random.next = draw;
        wagons->Tick();
    }
    double Board() { return static_cast<double>(Find<symbols::TLEDTablo>("LEDTablo2")->Value()); }
    bool WagonShown(int w) { return !Find(QString("Vagon%1").arg(w).toLatin1())->isHidden(); }
    platform::TColor TemperatureLine() { return console::FontColour(Find("TabloTemperature")); }
    platform::TColor SiloColour(int n) {
        return Find<symbols::TSilo>(QString("Silo%1").arg(n).toLatin1())->Color();
    }
    void RunFan(int silo) { Form().plant().Dev[8 + silo].State = plant::kStateRun; }

    FakePlayer player;
    ScriptedRandom random;
    std::unique_ptr<console::Journal> journal;
    std::unique_ptr<console::WagonsScreen> screen;
    std::unique_ptr<console::Sound> sound;
    std::unique_ptr<plant::Wagons> wagons;
};

TEST_F(WagonsOnScreen, WagonsStartOffTheTrack) {
    for (int w = 1; w <= 3; ++w) EXPECT_FALSE(WagonShown(w)) << w;
    EXPECT_EQ(wagons->WagonsOnTrack(), 0);
}

TEST_F(WagonsOnScreen, ArrivalFillsTheBoardThenDepartureEmptiesIt) {
    std::vector<double> boards;
    Tick(1);  // wagons start arriving
    for (int i = 0; i < 3; ++i) {
        Tick();
        boards.push_back(Board());
    }
    EXPECT_TRUE(WagonShown(1) && WagonShown(2) && WagonShown(3));
    Tick(2);  // wagons start leaving
    for (int i = 0; i < 3; ++i) {
        Tick();
        boards.push_back(Board());
    }
    EXPECT_EQ(boards, (std::vector<double>{60, 120, 180, 120, 60, 0}));
    EXPECT_FALSE(WagonShown(1) || WagonShown(2) || WagonShown(3));
}

TEST_F(WagonsOnScreen, WagonsCountWhileTheSiloPageCoversTheDiagram) {
    Find<QPushButton>("BtnSilosDetail")->click();
    Tick(11);
    Tick();
    Tick();
    EXPECT_TRUE(WagonShown(1));
    EXPECT_TRUE(WagonShown(2));
    EXPECT_EQ(wagons->WagonsOnTrack(), 2);
    EXPECT_EQ(Board(), 120.0);
}

TEST_F(WagonsOnScreen, TemperatureRiseTurnsSiloAndBoardRedAndSoundsTheAlarm) {
    Tick(4);  // silo 2, its fan standing
    EXPECT_EQ(SiloColour(2), 0x000080u);
    EXPECT_EQ(SiloColour(1), 0x000000u);
    EXPECT_EQ(TemperatureLine(), 0x0000FFu);
    EXPECT_EQ(JournalLines(), QStringList{"06.12.2026 14:05:09 Повышение температуры в силосе №2"});
    EXPECT_EQ(JournalColourOf("Повышение температуры"), kRed);
    EXPECT_EQ(player.played,
              (std::vector<std::string>{"Alarm.wav", "Attention.wav", "TempSilos2.wav"}));
}

TEST_F(WagonsOnScreen, WithTheSoundSwitchOffTheRiseIsSilentButShown) {
    Find<QAbstractButton>("BtnEnabledSound")->click();
    Tick(6);  // silo 4
    EXPECT_TRUE(player.played.empty());
    EXPECT_EQ(SiloColour(4), 0x000080u);
    EXPECT_EQ(TemperatureLine(), 0x0000FFu);
    EXPECT_EQ(JournalColourOf("Повышение температуры в силосе №4"), kRed);
}

TEST_F(WagonsOnScreen, RunningFanPreventsTheAlarm) {
    for (int n = 1; n <= 4; ++n) RunFan(n);
    for (int r = 3; r <= 6; ++r) Tick(r);
    EXPECT_EQ(TemperatureLine(), 0xADADADu);
    EXPECT_TRUE(player.played.empty());
    EXPECT_TRUE(JournalLines().join("").isEmpty());
}

TEST_F(WagonsOnScreen, AlarmClearsLaterEvenWithTheFanRunning) {
    Tick(3);
    RunFan(1);
    Tick(3);
    EXPECT_EQ(SiloColour(1), 0x000000u);
    EXPECT_EQ(TemperatureLine(), 0xADADADu);
    EXPECT_EQ(JournalLines().last(), "\tдопустимых значений");
    EXPECT_EQ(JournalLines().at(1), "06.12.2026 14:05:09 Температура в силосе №1 в зоне");
}

TEST_F(WagonsOnScreen, ClearingOneOfTwoAlarmsLeavesTheBoardRed) {
    Tick(3);
    Tick(5);
    Tick(3);
    EXPECT_EQ(TemperatureLine(), 0x0000FFu);
    EXPECT_EQ(SiloColour(1), 0x000000u);
    EXPECT_EQ(SiloColour(3), 0x000080u);
}

TEST_F(WagonsOnScreen, AlarmOnTheSiloPageStillReachesBoardAndJournal) {
    Find<QPushButton>("BtnSilosDetail")->click();
    Tick(3);
    EXPECT_EQ(TemperatureLine(), 0x0000FFu);
    EXPECT_EQ(JournalColourOf("Повышение температуры в силосе №1"), kRed);
}

// The timer of the window runs the same logic with the clock-seeded dice: a
// few hundred seconds on stopped fans never leave the board and the wagons
// out of step.
TEST_F(WagonsOnScreen, WindowTimerKeepsBoardAndWagonsInStep) {
    RunStartup();
    for (int i = 0; i < 300; ++i) {
        Form().TimerVagonOnTimer();
        int shown = 0;
        for (int w = 1; w <= 3; ++w) shown += WagonShown(w) ? 1 : 0;
        ASSERT_EQ(Board(), 60.0 * shown) << "second " << i;
    }
}

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
