#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "console/ClockRandom.h"
#include "console/Sound.h"

namespace {

class FakePlayer : public platform::WavePlayer {
public:
    void Play(const std::string& file) override { played.push_back(file); }
    std::vector<std::string> played;
};

TEST(Sound, SoundSwitchIsAskedEveryTime) {
    FakePlayer player;
    bool on = true;
    console::Sound sound(player, [&on] { return on; });
    EXPECT_TRUE(sound.SoundOn());
    on = false;
    EXPECT_FALSE(sound.SoundOn());
}

TEST(Sound, PlaysEvenWithTheSwitchOffBecauseTheCallerDecides) {
    FakePlayer player;
    console::Sound sound(player, [] { return false; });
    sound.Play("RouteStarted.wav");
    EXPECT_EQ(player.played, std::vector<std::string>{"RouteStarted.wav"});
}

TEST(ClockRandom, DrawsStayWithinTheBoundAndCoverIt) {
    console::ClockRandom random([] { return uint64_t{42}; });
    std::set<int> seen;
    for (int i = 0; i < 20000; ++i) {
        const int r = random.Next(200);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 200);
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 200u);
}

TEST(ClockRandom, BoundsWithoutChoiceGiveZero) {
    console::ClockRandom random([] { return uint64_t{7}; });
    EXPECT_EQ(random.Next(1), 0);
    EXPECT_EQ(random.Next(0), 0);
    EXPECT_EQ(random.Next(-5), 0);
}

TEST(ClockRandom, ReseedFromTheSameClockRepeatsTheSequence) {
    uint64_t clock = 1'000'000'000;
    console::ClockRandom random([&clock] { return clock; });
    std::vector<int> first, second;
    for (int i = 0; i < 10; ++i) first.push_back(random.Next(200));
    random.Reseed();
    for (int i = 0; i < 10; ++i) second.push_back(random.Next(200));
    EXPECT_EQ(first, second);
}

TEST(ClockRandom, ReseedsOneSecondApartGiveDifferentSequences) {
    uint64_t clock = 1'000'000'000;
    console::ClockRandom random([&clock] { return clock; });
    std::vector<int> first, second;
    for (int i = 0; i < 10; ++i) first.push_back(random.Next(200));
    clock += 1'000'000'000;
    random.Reseed();
    for (int i = 0; i < 10; ++i) second.push_back(random.Next(200));
    EXPECT_NE(first, second);
}

}  // namespace
