#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "archive/Equipment.h"
#include "tests/archive/ArchiveRig.h"

// The counting rules of the equipment figures (docs/archive.md), each on a
// short history of one device written into a real archive file. A drive's
// entries of running and stopped count from a controller cycle (300 ms) before
// them, when the drive got there.

namespace archive_test {
namespace {

using archive::Kind;
using archive::Subject;

// One entry of a history: seconds after kDay0, its kind, device (0: none) and detail.
struct Step {
    int seconds;
    Kind kind;
    int dev;
    int detail;
};

// The figures a history implies: durations in milliseconds, the last change
// of state in seconds.
struct Seen {
    int64_t runningMs = 0;
    int starts = 0, strokes = 0;
    int64_t openMs = 0;
    int taken = 0, refused = 0, faults = 0;
    int64_t alarmMs = 0;
    int lastS = -1;  // the last change of state; -1: none
    int lastDetail = 0;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& s, std::ostream* os) {
    *os << "running " << s.runningMs << " ms, starts " << s.starts << ", strokes " << s.strokes
        << ", open " << s.openMs << " ms, taken " << s.taken << ", refused " << s.refused
        << ", faults " << s.faults << ", alarm " << s.alarmMs << " ms, last change " << s.lastS
        << " s to " << s.lastDetail;
}

struct Case {
    const char* name;
    int dev;
    std::vector<Step> history;
    std::vector<int> samples;  // seconds of samples, the program's other sign of life
    Seen expected;
    int toS = 60;  // the range is [0 s, toS)
};

constexpr Kind kState = Kind::StateChange;
constexpr Kind kFault = Kind::TrainerFault;
constexpr Kind kTaken = Kind::CommandTaken;
constexpr Kind kRefused = Kind::CommandRefused;
constexpr Kind kSystem = Kind::System;
constexpr int kOn = 0, kBetween = 1, kOff = 2;  // running / open, intermediate, stopped / closed
constexpr int kTrip = 1, kJam = 2, kClear = 0, kReset = 10;
constexpr int kStartUp = archive::kStartUp;

const Case kCases[] = {
    {"DriveSwitchedOnWhileRunningStartsOnce",
     15,
     {{7, kTaken, 15, 1}, {10, kState, 15, kOn}, {20, kState, 15, kOn}, {37, kTaken, 15, 2},
      {40, kState, 15, kOff}},
     {},
     {.runningMs = 30000, .starts = 1, .taken = 2, .lastS = 40, .lastDetail = kOff}},
    {"DriveRunningBeforeTheRangeCountsFromItsStart",
     15,
     {{-100, kState, 15, kOn}, {30, kState, 15, kOff}},
     {},
     {.runningMs = 29700, .lastS = 30, .lastDetail = kOff}},
    {"DriveRunningAtTheEndCountsToIt",
     15,
     {{50, kState, 15, kOn}},
     {},
     {.runningMs = 10300, .starts = 1, .lastS = 50, .lastDetail = kOn}},
    {"TripStopsTheDriveAndTheAlarmLastsToTheResetTaken",
     14,
     {{10, kState, 14, kOn},
      {25, kFault, 14, kTrip},
      {30, kRefused, 14, kReset},
      {35, kFault, 14, kClear},
      {40, kState, 14, kOff},
      {50, kTaken, 14, kReset}},
     {},
     {.runningMs = 15300, .starts = 1, .taken = 1, .refused = 1, .faults = 1, .alarmMs = 25000,
      .lastS = 40, .lastDetail = kOff}},
    {"TrippedDriveIsStoppedAtTheRangeStart",
     14,
     {{-40, kState, 14, kOn}, {-20, kFault, 14, kTrip}},
     {},
     {.alarmMs = 60000, .lastS = -20, .lastDetail = kTrip}},
    {"ValveStrokesGoFromEndToEndAndOnlyOpenCountsAsOpen",
     2,
     {{-50, kState, 2, kOff},
      {5, kState, 2, kBetween},
      {14, kState, 2, kOn},
      {20, kState, 2, kBetween},
      {30, kState, 2, kOn},
      {40, kState, 2, kBetween},
      {49, kState, 2, kOff}},
     {},
     {.strokes = 2, .openMs = 16000, .lastS = 49, .lastDetail = kOff}},
    {"ValveBetweenEndsAtTheRangeStartKeepsItsLastEnd",
     2,
     {{-50, kState, 2, kOn}, {-10, kState, 2, kBetween}, {5, kState, 2, kOff},
      {8, kState, 2, archive::kModeChange + 1}},
     {},
     {.strokes = 1, .lastS = 5, .lastDetail = kOff}},
    {"AlarmRaisedBeforeTheRangeCountsFromItsStart",
     3,
     {{-30, kFault, 3, kJam}, {20, kTaken, 3, kReset}},
     {},
     {.taken = 1, .alarmMs = 20000}},
    {"StartUpStopsTheClockBetweenRuns",
     16,
     {{10, kState, 16, kOn}, {40, kSystem, 0, kStartUp}, {50, kState, 16, kOff}},
     {20},
     {.runningMs = 20000, .starts = 1, .lastS = 50, .lastDetail = kOff}},
    {"StartUpEndsTheAlarm",
     5,
     {{12, kFault, 5, kJam}, {40, kSystem, 0, kStartUp}},
     {20},
     {.faults = 1, .alarmMs = 8000}},
    {"StartUpBeforeTheRangeEndedAnEarlierAlarm",
     5,
     {{-30, kFault, 5, kJam}, {-10, kSystem, 0, kStartUp}},
     {-20},
     {}},
    {"ProgramClosedAtTheRangeStartCountsFromItsStartUp",
     16,
     {{-100, kState, 16, kOn}, {30, kSystem, 0, kStartUp}},
     {-50},
     {.runningMs = 30000, .lastS = -100, .lastDetail = kOn}},
    {"RunEndingInsideAPastRangeCountsToItsLastRecord",
     16,
     {{10, kState, 16, kOn}, {100, kSystem, 0, kStartUp}},
     {20},
     {.runningMs = 10300, .starts = 1, .lastS = 10, .lastDetail = kOn}},
    {"NothingArchivedGivesZeros", 9, {}, {}, {}},
};

class FigureRules : public ArchiveTest, public testing::WithParamInterface<Case> {};

TEST_P(FigureRules, Hold) {
    const Case& c = GetParam();
    std::vector<std::string> texts;
    {
        archive::Options options = QuickOptions();
        options.sampleSeconds = 1;
        archive::Archive archive(options);
        ASSERT_TRUE(archive.Open(path_.string()));
        for (const Step& step : c.history) {
            archive::Entry entry = MakeEntry(kDay0 + step.seconds * 1000LL, " entry", step.kind,
                                             Subject::Device(step.dev));
            entry.detail = static_cast<int16_t>(step.detail);
            archive.Append(entry);
        }
        for (const int seconds : c.samples) {
            archive::Sample sample;
            sample.time = {kDay0 + seconds * 1000LL, 180};
            archive.OfferSample(sample);
        }
        ASSERT_TRUE(archive.Flush());
    }
    std::string error;
    const auto reader = archive::Reader::Open(path_.string(), error);
    ASSERT_TRUE(reader) << error;
    const archive::EquipmentFigures all =
        archive::ReadEquipmentFigures(*reader, kDay0, kDay0 + c.toS * 1000LL);
    ASSERT_EQ(all.error, "");

    const archive::DeviceFigures& f = all.devices[static_cast<std::size_t>(c.dev - 1)];
    EXPECT_EQ(f.device, c.dev);
    EXPECT_EQ(f.valve, c.dev <= 8);
    Seen seen{f.runningMs,     f.starts,          f.strokes, f.openMs,
              f.commandsTaken, f.commandsRefused, f.faults,  f.alarmMs};
    if (f.lastChange) {
        seen.lastS = static_cast<int>((f.lastChange->utcMs - kDay0) / 1000);
        seen.lastDetail = f.lastChange->detail;
    }
    EXPECT_EQ(seen, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Equipment, FigureRules, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace archive_test
