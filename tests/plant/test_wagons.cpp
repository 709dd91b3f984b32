#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "plant/Wagons.h"

namespace {

using plant::JournalColour;

// One log of everything the timer does to the screen, the journal and the
// loudspeaker, in call order.
using Log = std::vector<std::string>;

class FakeScreen : public plant::WagonsOutlet {
public:
    explicit FakeScreen(Log& log) : log_(log) {}
    void SetWagonVisible(int w, bool visible) override {
        ++setterCalls;
        visible_[w - 1] = visible;
    }
    void SetSiloColour(int n, uint32_t colour) override {
        ++setterCalls;
        log_.push_back("silo " + std::to_string(n) + " colour " + std::to_string(colour));
    }
    void SetTemperatureAlarmShown(bool on) override {
        ++setterCalls;
        alarmShown = on;
    }
    void SetUnloadingBoard(double tonnes) override {
        ++setterCalls;
        board = tonnes;
    }
    void RepaintNow() override { log_.push_back("repaint"); }
    int WagonsShown() const { return visible_[0] + visible_[1] + visible_[2]; }

    bool alarmShown = false;
    double board = -1;  // nothing shown yet
    int setterCalls = 0;

private:
    Log& log_;
    bool visible_[3] = {false, false, false};
};

class FakeJournal : public plant::JournalOutlet {
public:
    explicit FakeJournal(Log& log) : log_(log) {}
    void Append(const std::string& body, JournalColour colour) override {
        const char* name = colour == JournalColour::Red    ? "red"
                           : colour == JournalColour::Blue ? "blue"
                                                           : "default";
        log_.push_back(std::string(name) + ":" + body);
    }

private:
    Log& log_;
};

class FakeSound : public plant::SoundOutlet {
public:
    explicit FakeSound(Log& log) : log_(log) {}
    void Play(const std::string& file) override { log_.push_back("play " + file); }
    bool SoundOn() const override { return on; }
    bool on = true;

private:
    Log& log_;
};

// Hands out scripted draws; 0 (no event) once they run out.
class ScriptedRandom : public plant::RandomOutlet {
public:
    int Next(int bound) override {
        bounds.push_back(bound);
        if (draws.empty()) return 0;
        const int r = draws.front();
        draws.pop_front();
        return r;
    }
    std::deque<int> draws;
    std::vector<int> bounds;
};

class WagonsTest : public testing::Test {
protected:
    // Queues the draws of the coming idle ticks.
    void Draws(std::initializer_list<int> draws) {
        random_.draws.insert(random_.draws.end(), draws);
    }
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) wagons_.Tick();
    }
    // The unloading board after each of the coming seconds.
    std::vector<double> Boards(int seconds) {
        std::vector<double> boards;
        for (int i = 0; i < seconds; ++i) {
            Tick();
            boards.push_back(screen_.board);
        }
        return boards;
    }
    void SetFan(int silo, int32_t state) { plant_.Dev[8 + silo].State = state; }

    plant::Plant plant_;  // fans stand still (State 2) in fresh tables
    Log log_;
    FakeScreen screen_{log_};
    FakeJournal journal_{log_};
    FakeSound sound_{log_};
    ScriptedRandom random_;
    plant::Wagons wagons_{plant_, screen_, journal_, sound_, random_};
};

class WagonsArrival : public WagonsTest, public testing::WithParamInterface<int> {};

TEST_P(WagonsArrival, BoardCountsWagonsInThenOut) {
    Draws({GetParam(), GetParam() + 1});  // 1 brings wagons, 2 takes them; so do 11, 12 ...
    EXPECT_EQ(Boards(8), (std::vector<double>{0, 60, 120, 180, 180, 120, 60, 0}));
    EXPECT_EQ(wagons_.Phase(), 0);
}

INSTANTIATE_TEST_SUITE_P(Draws, WagonsArrival, testing::Values(1, 11, 21, 31));

TEST_F(WagonsTest, NoDrawWhileWagonsMove) {
    Draws({1});
    Tick();
    EXPECT_EQ(wagons_.Phase(), 1);
    Tick(3);
    EXPECT_EQ(random_.bounds, (std::vector<int>{200}));
    EXPECT_EQ(wagons_.Phase(), 0);
}

TEST_F(WagonsTest, MovementTowardsTheSameStateChangesNothing) {
    Draws({11, 21});
    Tick(8);
    EXPECT_EQ(screen_.board, 180);
    EXPECT_EQ(wagons_.WagonsOnTrack(), 3);
    EXPECT_EQ(screen_.WagonsShown(), 3);
    Draws({12, 32});
    Tick(8);
    EXPECT_EQ(screen_.board, 0);
    EXPECT_EQ(wagons_.WagonsOnTrack(), 0);
    EXPECT_EQ(screen_.WagonsShown(), 0);
}

// Nor do they set anything on the screen after the first second has shown
// the empty track and the quiet alarm board.
TEST_F(WagonsTest, OtherDrawsDoNothing) {
    Draws({0, 7, 10, 33, 100, 199});
    Tick();
    const int firstSecond = screen_.setterCalls;
    EXPECT_EQ(screen_.board, 0);
    EXPECT_EQ(Boards(5), (std::vector<double>{0, 0, 0, 0, 0}));
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(screen_.setterCalls, firstSecond);
    EXPECT_EQ(wagons_.Phase(), 0);
}

TEST_F(WagonsTest, NoTemperatureAlarmWhileAllFansRun) {
    for (int silo = 1; silo <= 4; ++silo) SetFan(silo, plant::kStateRun);
    SetFan(4, plant::kStateAcceleration);  // running up counts as running
    Draws({3, 4, 5, 6, 3, 4, 5, 6});
    Tick(8);
    EXPECT_TRUE(log_.empty());
    EXPECT_FALSE(screen_.alarmShown);
    for (int silo = 1; silo <= 4; ++silo) EXPECT_FALSE(plant_.TankOverheat[silo]);
}

TEST_F(WagonsTest, RiseIsJournalledRepaintedThenSounded) {
    Draws({5});
    Tick();
    const Log expected = {"silo 3 colour 128",
                          "red: Повышение температуры в силосе №3",
                          "repaint",
                          "play Alarm.wav",
                          "play Attention.wav",
                          "play TempSilos3.wav"};
    EXPECT_EQ(log_, expected);
    EXPECT_TRUE(plant_.TankOverheat[3]);
    EXPECT_TRUE(screen_.alarmShown);
}

TEST_F(WagonsTest, AlarmClearsAfterItsFanStarted) {
    Draws({3, 3, 3});
    Tick();
    SetFan(1, plant::kStateRun);
    log_.clear();
    Tick();
    const Log expected = {"silo 1 colour 0",
                          "default: Температура в силосе №1 в зоне\r\tдопустимых значений"};
    EXPECT_EQ(log_, expected);
    EXPECT_FALSE(plant_.TankOverheat[1]);
    EXPECT_FALSE(screen_.alarmShown);
    log_.clear();
    Tick();  // the fan now runs: no new alarm
    EXPECT_TRUE(log_.empty());
}

TEST_F(WagonsTest, BoardStaysRedUntilTheLastAlarmClears) {
    Draws({4, 6, 4, 6});
    Tick(2);
    EXPECT_TRUE(screen_.alarmShown);
    Tick();
    EXPECT_FALSE(plant_.TankOverheat[2]);
    EXPECT_TRUE(screen_.alarmShown);
    Tick();
    EXPECT_FALSE(screen_.alarmShown);
}

TEST_F(WagonsTest, SilenceWithTheSoundSwitchOff) {
    sound_.on = false;
    Draws({6});
    Tick();
    const Log expected = {"silo 4 colour 128", "red: Повышение температуры в силосе №4", "repaint"};
    EXPECT_EQ(log_, expected);
    EXPECT_TRUE(screen_.alarmShown);
}

TEST_F(WagonsTest, TemperatureEventsWaitWhileWagonsMove) {
    Draws({2, 3});
    Tick(4);  // a departure: three ticks without a draw
    EXPECT_TRUE(log_.empty());
    Tick();
    EXPECT_TRUE(plant_.TankOverheat[1]);
}

}  // namespace
