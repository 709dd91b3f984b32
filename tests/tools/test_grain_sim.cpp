#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLockFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "archive/Reader.h"

// Runs the real grain-sim binary on scripts and checks its lines and exit status.

namespace {

struct RunResult {
    int status = -1;
    std::vector<std::string> lines;  // standard output
    std::string errors;              // standard error
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class GrainSimTest : public ::testing::Test {
protected:
    static constexpr const char* kClosedPipe = "|";

    // A file of this test in the temporary folder (parameterised names hold '/').
    std::string Path(const std::string& name) const {
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : test) {
            if (c == '/') c = '_';
        }
        return ::testing::TempDir() + "grain_sim_" + test + "_" + name;
    }

    RunResult Run(const std::string& script, const std::string& extraArgs = "") {
        const std::string scriptPath = Path("script.txt");
        std::ofstream(scriptPath, std::ios::binary) << script;
        RunResult r = RunWith(extraArgs + " '" + scriptPath + "'");
        std::remove(scriptPath.c_str());
        return r;
    }

    // grain-sim with these shell arguments, its output going to `output` (a
    // scratch file when empty, a pipe nobody reads when kClosedPipe).
    RunResult RunWith(const std::string& arguments, std::string output = "") {
        const std::string err = Path("err.txt");
        const bool scratch = output.empty();
        if (scratch) output = Path("out.txt");
        const std::string run =
            std::string("'") + GRAIN_SIM + "' " + arguments + " 2> '" + err + "'";
        const std::string status = Path("status.txt");
        const std::string command = output == kClosedPipe
                                        ? "{ " + run + "; echo $? > '" + status + "'; } | true"
                                        : run + " > '" + output + "'";
        const int raw = std::system(command.c_str());
        RunResult r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        if (output == kClosedPipe) {
            r.status = std::stoi("0" + Slurp(status));
            std::remove(status.c_str());
        }
        if (scratch) {
            std::istringstream lines(Slurp(output));
            for (std::string line; std::getline(lines, line);) r.lines.push_back(line);
            std::remove(output.c_str());
        }
        r.errors = Slurp(err);
        std::remove(err.c_str());
        return r;
    }

    static std::vector<std::string> Starting(const std::vector<std::string>& lines,
                                             const std::string& prefix) {
        std::vector<std::string> out;
        for (const auto& l : lines) {
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        }
        return out;
    }
};

TEST_F(GrainSimTest, RouteStartPrintsJournalAndSoundLinesInTheOrderTheyHappen) {
    const RunResult r = Run("# start a rail intake\n\nroute 12 start\ntick\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    const std::vector<std::string> expected = {
        "J 1 red  Уровень в силосе №1 -\\r\\t Параметр вошел в верхнюю аварийную зону",
        "J 1 blue  Технологическое событие \\r\\t Получена команда на запуск\\r\\tмаршрута №12",
        "S 1 Bell.wav", "S 1 RouteStart.wav", "S 1 Route_12.wav"};
    EXPECT_EQ(r.lines, expected);
}

TEST_F(GrainSimTest, JournalLinesCarryTheNumberOfTheCycleThatWroteThem) {
    const RunResult r = Run("dev 13 21\ntick 3\ndev 13 1\ntick 4\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    const std::vector<std::string> expected = {
        "J 1 red  Уровень в силосе №1 -\\r\\t Параметр вошел в верхнюю аварийную зону",
        "J 1 default  Конвейер 3.1 Получена команда - \\r\\t\"Установить ДИСТАНЦИОННЫЙ "
        "режим\\r\\tуправления\"",
        "J 1 default  Конвейер 3.1 Установлен\\r\\tДИСТАНЦИОННЫЙ режим управления",
        "J 4 default  Конвейер 3.1 Получена команда - \\r\\t\"ВКЛЮЧИТЬ\"",
        "J 7 default  Конвейер 3.1 Изменение состояния - \\r\\t\"ВКЛЮЧЕНО\""};
    EXPECT_EQ(Starting(r.lines, "J"), expected);
}

TEST_F(GrainSimTest, PrintDumpsTheTables) {
    const RunResult r = Run("dev 1 21\ntick\ndev 1 1\ntick 6\nprint\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    const auto d = Starting(r.lines, "D ");
    ASSERT_EQ(d.size(), 18u);
    EXPECT_EQ(d[0], "D 1 mode=1 state=1 ungle=15");
    EXPECT_EQ(d[17], "D 18 mode=0 state=2 ungle=0");
    const auto routes = Starting(r.lines, "R ");
    ASSERT_EQ(routes.size(), 12u);
    EXPECT_EQ(routes[11], "R 12 state=0 step=0 permitted=1");
    const std::vector<std::string> tanks = {"T 1 15000.00", "T 2 4500.00", "T 3 11250.00",
                                            "T 4 7500.00"};
    EXPECT_EQ(Starting(r.lines, "T "), tanks);
    EXPECT_EQ(Starting(r.lines, "M "), std::vector<std::string>{"M 0.00"});
    const std::vector<std::string> zones = {"Z 1 AH", "Z 2 НОРМА", "Z 3 НОРМА", "Z 4 НОРМА"};
    EXPECT_EQ(Starting(r.lines, "Z "), zones);
}

TEST_F(GrainSimTest, RunningRouteShipsGrainAndResetZeroesTheTotal) {
    const RunResult r =
        Run("route 2 start\ntick 149\nprint\nreset\nprint\nroute 2 stop\n"
            "route 2 stop\ntick\nroute 3 start\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    const auto tanks = Starting(r.lines, "T 2 ");
    ASSERT_EQ(tanks.size(), 2u);
    EXPECT_EQ(tanks[0], "T 2 4497.00");  // 100 running cycles of 0.03 t
    // The vessel loads from cycle 5 on, when conveyor 3.3 runs: 145 cycles.
    EXPECT_EQ(Starting(r.lines, "M "), (std::vector<std::string>{"M 4.35", "M 0.00"}));
    // The second stop is posted again before a cycle took the first; route 3
    // is forbidden while route 2 is active.
    EXPECT_EQ(Starting(r.lines, "#"), std::vector<std::string>{"# ignored"});
}

TEST_F(GrainSimTest, VagonPrintsTheNumberOfWagonsShown) {
    const RunResult r = Run("vagon 7\nvagon 150\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.lines, (std::vector<std::string>{"W 0", "W 0"}));
}

TEST_F(GrainSimTest, WagonsArriveOnePerDrawAndATemperatureAlarmCarriesTheCurrentTick) {
    const RunResult r = Run("tick 2\nvagon 1\nvagon 0\nvagon 0\nvagon 0\nvagon 3\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    const std::vector<std::string> expected = {
        "J 1 red  Уровень в силосе №1 -\\r\\t Параметр вошел в верхнюю аварийную зону",
        "W 0",
        "W 1",
        "W 2",
        "W 3",
        "J 2 red  Повышение температуры в силосе №1",
        "S 2 Alarm.wav",
        "S 2 Attention.wav",
        "S 2 TempSilos1.wav",
        "W 3"};
    EXPECT_EQ(r.lines, expected);
}

TEST_F(GrainSimTest, TripStopsTheRouteAndAlarmsListsTheDeviceUntilClearedAndReset) {
    const RunResult r =
        Run("route 1 start\ntick 60\nfault 14 trip\ntick\nalarms\n"
            "fault 14 clear\ntick\ndev 14 10\ntick\nalarms\n");
    ASSERT_EQ(r.status, 0) << r.errors;
    std::vector<std::string> expected = {
        "J 61 red  Конвейер 3.2 Изменение состояния - \\r\\t\"АВАРИЯ\"",
        "J 61 red  Технологическое событие \\r\\t Аварийный останов маршрута №1 "
        "-\\r\\tавария: Конвейер 3.2",
        "J 61 blue  Технологическое событие \\r\\t Получена команда на останов\\r\\tмаршрута "
        "№1",
        "S 61 Bell.wav",
        "S 61 RouteStop.wav",
        "S 61 Route_1.wav"};
    const auto at = std::find(r.lines.begin(), r.lines.end(), expected[0]);
    ASSERT_NE(at, r.lines.end());
    EXPECT_EQ(std::vector<std::string>(at, at + 6), expected);
    const auto alarms = Starting(r.lines, "A ");
    ASSERT_EQ(alarms.size(), 36u);
    for (int i = 1; i <= 18; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_EQ(alarms[static_cast<std::size_t>(i - 1)], "A " + n + (i == 14 ? " 1" : " 0"));
        EXPECT_EQ(alarms[static_cast<std::size_t>(i + 17)], "A " + n + " 0");
    }
}

// A scripted history: every journal line of the run is in the archive, in
// order, stamped with the plant's time, with the right kind, subject and
// source.
TEST_F(GrainSimTest, ArchiveKeepsEveryJournalLineWithWhatAndWhoAtThePlantsTime) {
    const std::string db = Path("history.db");
    const RunResult r =
        Run("dev 1 21\ntick\ndev 1 1\ntick 2\nroute 1 start\ntick 60\nfault 14 trip\ntick 3\n"
            "fault 14 clear\ndev 14 10\ntick 80\nvagon 3\nvagon 3\ndev 5 1\ntick\n",
            "--archive '" + db + "' --start 2026-06-12T10:00:00+03:00");
    ASSERT_EQ(r.status, 0) << r.errors;
    std::string error;
    const auto reader = archive::Reader::Open(db, error);
    ASSERT_TRUE(reader) << error;
    const std::vector<archive::Row> rows = reader->Since(0, {}, 1000).rows;

    // "J <tick> <colour> <body>" of each row, as grain-sim prints it.
    constexpr int64_t kStart = 1'781'247'600'000;  // 2026-06-12 07:00:00 UTC
    const char* colours[] = {"default", "red", "blue"};
    std::vector<std::string> archived;
    for (const archive::Row& row : rows) {
        EXPECT_EQ(row.time.offsetMinutes, 180);
        EXPECT_EQ((row.time.utcMs - kStart) % 300, 0);
        std::string body;
        for (const char c : row.text)
            body += c == '\r' ? "\\r" : c == '\t' ? "\\t" : std::string(1, c);
        archived.push_back("J " + std::to_string((row.time.utcMs - kStart) / 300) + " " +
                           colours[static_cast<int>(row.colour)] + " " + body);
    }
    EXPECT_EQ(archived, Starting(r.lines, "J "));

    struct Expected {
        const char* text;  // a part of the entry's text; entries are found in this order
        archive::Kind kind;
        int subject;
        int detail;
        const char* source;
    };
    using K = archive::Kind;
    const Expected expected[] = {
        {"Уровень в силосе №1", K::SiloZone, 201, 0, ""},
        {"М1 Получена команда - \r\t\"Установить ДИСТ", K::CommandTaken, 1, 21, "строка 1"},
        {"М1 Установлен", K::StateChange, 1, 11, ""},
        {"М1 Получена команда - \r\t\"ОТКРЫТЬ", K::CommandTaken, 1, 1, "строка 3"},
        {"М1 Изменение состояния - \r\t\"ПРОМЕЖ", K::StateChange, 1, 1, ""},
        {"на запуск", K::RouteEvent, 101, 1, "строка 5"},
        {"3.3 Получена команда - \r\t\"Установить АВТО", K::CommandTaken, 15, 22, "маршрут 1"},
        {"3.3 Изменение состояния - \r\t\"ВКЛЮЧЕНО", K::StateChange, 15, 0, ""},
        {"запущен", K::RouteEvent, 101, 3, ""},
        {"АВАРИЯ", K::TrainerFault, 14, 1, "строка 7"},
        {"Аварийный останов", K::RouteEvent, 101, 6, ""},
        {"на останов", K::RouteEvent, 101, 2, "контроллер"},
        {"М2 Получена команда - \r\t\"ЗАКРЫТЬ", K::CommandTaken, 2, 2, "маршрут 1"},
        {"НЕИСПРАВНОСТЬ УСТРАНЕНА", K::TrainerFault, 14, 0, "строка 9"},
        {"СБРОСИТЬ ФЛАГ АВАРИИ", K::CommandTaken, 14, 10, "строка 10"},
        {"остановлен", K::RouteEvent, 101, 4, ""},
        {"Повышение температуры", K::TemperatureAlarm, 201, 1, ""},
        {"допустимых значений", K::TemperatureAlarm, 201, 0, ""},
        {"М5 Команда управления", K::CommandRefused, 5, 1, "строка 14"},
    };
    auto row = rows.begin();
    for (const Expected& e : expected) {
        row = std::find_if(row, rows.end(), [&e](const archive::Row& candidate) {
            return candidate.text.find(e.text) != std::string::npos;
        });
        ASSERT_NE(row, rows.end()) << e.text;
        EXPECT_EQ(row->kind, e.kind) << e.text;
        EXPECT_EQ(row->subject.Code(), e.subject) << e.text;
        EXPECT_EQ(row->detail, e.detail) << e.text;
        EXPECT_EQ(row->source, e.source) << e.text;
    }

    // One sample per 10 s of plant time: 147 cycles are 44.1 s.
    std::vector<archive::Sample> samples;
    EXPECT_EQ(
        reader->Samples(0, INT64_MAX, [&](const archive::Sample& s) { samples.push_back(s); }), "");
    ASSERT_EQ(samples.size(), 5u);
    EXPECT_EQ(samples[0].time.utcMs, kStart + 300);
    EXPECT_EQ(samples[1].time.utcMs, kStart + 10'200);
    EXPECT_DOUBLE_EQ(samples[0].silo[0], 15000.0);
    EXPECT_DOUBLE_EQ(samples[4].silo[0], 14999.6);  // 13 running cycles took 0.39 t
    std::filesystem::remove(db);
}

TEST_F(GrainSimTest, SavedStateIsLoadedWithState) {
    const std::string state = Path("state.INI");
    const RunResult saved = Run("dev 3 21\ndev 9 22\ntick\nsave " + state + "\n");
    ASSERT_EQ(saved.status, 0) << saved.errors;
    const RunResult loaded = Run("print\n", "--state '" + state + "'");
    std::remove(state.c_str());
    ASSERT_EQ(loaded.status, 0) << loaded.errors;
    const auto d = Starting(loaded.lines, "D ");
    ASSERT_EQ(d.size(), 18u);
    EXPECT_EQ(d[2], "D 3 mode=1 state=2 ungle=0");
    EXPECT_EQ(d[8], "D 9 mode=1 state=2 ungle=0");  // Auto comes back as Remote
}

TEST_F(GrainSimTest, UnwritableStateFileStopsWithStatusOne) {
    const RunResult r = Run("tick\nsave /nonexistent-folder/state.INI\nprint\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.errors, "grain-sim: line 2: Unable to write to /nonexistent-folder/state.INI\n");
    EXPECT_TRUE(Starting(r.lines, "D ").empty());
}

// Every failure is reported on one line of standard error (a usage error adds
// the usage lines) and in the exit status. In the arguments and the message "@"
// stands for this test's scratch prefix, where "@folder" is a folder and
// "@script.txt" holds the script ("<long>" in it: a line of ten million
// characters; "<many>" a script that prints far more than a pipe holds).
const std::string kUsage =
    "usage: grain-sim [--state FILE] [--archive FILE [--start ISO-TIME]] [SCRIPT]\n"
    "       grain-sim --serve [ADDRESS:]PORT [--state FILE] [--faults]";

struct Failure {
    const char* name;
    std::string script;
    std::string arguments;
    std::string output;
    int status;
    std::string error;
};
void PrintTo(const Failure& f, std::ostream* os) {
    *os << f.name;
}

class GrainSimFailureTest : public GrainSimTest, public ::testing::WithParamInterface<Failure> {
protected:
    std::string Expanded(std::string text) {
        for (std::size_t at; (at = text.find('@')) != std::string::npos;) {
            text.replace(at, 1, Path(""));
        }
        return text;
    }
};

TEST_P(GrainSimFailureTest, SaysOneLineAndFails) {
    std::filesystem::create_directories(Path("folder"));
    std::string script = GetParam().script;
    if (const std::size_t at = script.find("<long>"); at != std::string::npos) {
        script.replace(at, 6, std::string(10'000'000, 'a'));
    }
    if (script == "<many>") {
        script.clear();
        for (int k = 0; k < 2000; ++k) script += "print\n";
    }
    std::ofstream(Path("script.txt"), std::ios::binary) << script;
    const RunResult r = RunWith(Expanded(GetParam().arguments), GetParam().output);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_EQ(r.errors, Expanded(GetParam().error) + "\n");
    std::filesystem::remove_all(Path("folder"));
    std::filesystem::remove(Path("script.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, GrainSimFailureTest,
    ::testing::Values(
        Failure{"ScriptIsAFolder", "", "'@folder'", "", 2,
                "grain-sim: script '@folder' is a folder"},
        Failure{"OutputCannotBeWritten", "tick 2\nprint\n", "'@script.txt'", "/dev/full", 3,
                "grain-sim: cannot write to standard output"},
        Failure{"OverLongLine", "tick\n<long>\n", "'@script.txt'", "", 2,
                "grain-sim: line 2: longer than 4096 characters"},
        Failure{"StateFileIsAFolder", "print\n", "--state '@folder' '@script.txt'", "", 2,
                "grain-sim: cannot read state file '@folder': Is a directory"},
        Failure{"OutputPipeClosed", "<many>", "'@script.txt'", "|", 3,
                "grain-sim: cannot write to standard output"},
        Failure{"ServeWithoutAnAddress", "", "--serve", "", 2,
                "grain-sim: --serve needs [ADDRESS:]PORT\n" + kUsage},
        Failure{"ServePortOutOfRange", "", "--serve 127.0.0.1:65536", "", 2,
                "grain-sim: --serve: port '65536' is not a number 0..65535\n" + kUsage},
        Failure{"ServeAndAScript", "", "--serve 0 '@script.txt'", "", 2,
                "grain-sim: --serve runs no script\n" + kUsage},
        Failure{"FaultsWithoutServe", "", "--faults '@script.txt'", "", 2,
                "grain-sim: --faults is an option of --serve\n" + kUsage},
        Failure{"StartWithoutArchive", "", "--start 2026-06-12 '@script.txt'", "", 2,
                "grain-sim: --start is an option of --archive\n" + kUsage},
        Failure{"StartThatIsNoDate", "", "--archive '@a.db' --start 2026-02-29T10:00 '@script.txt'",
                "", 2, "grain-sim: --start: '2026-02-29T10:00' is no date and time\n" + kUsage},
        Failure{"ArchiveWhileServing", "", "--serve 0 --archive '@a.db'", "", 2,
                "grain-sim: --archive records a script's run, not --serve\n" + kUsage},
        Failure{"ArchiveIsAFolder", "tick\n", "--archive '@folder' '@script.txt'", "", 2,
                "grain-sim: archive @folder: is a folder"},
        Failure{"ArchiveIsNoDatabase", "tick\n", "--archive '@script.txt' '@script.txt'", "", 6,
                "grain-sim: archive '@script.txt' is missing entries: file is not a database"},
        Failure{"ServeOnAHostName", "", "--serve localhost:0", "", 5,
                "grain-sim: cannot serve Modbus TCP: localhost:0: not a numeric "
                "IP address"},
        Failure{"ServeFromAStateFileThatIsAFolder", "", "--serve 127.0.0.1:0 --state '@folder'", "",
                2, "grain-sim: cannot read state file '@folder': Is a directory"},
        Failure{"ServeWithOutputThatCannotBeWritten", "", "--serve 127.0.0.1:0", "/dev/full", 3,
                "grain-sim: cannot write to standard output"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GrainSimTest, HelpPrintsTheUsageOnStandardOutputAndSucceeds) {
    const RunResult r = RunWith("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.errors, "");
    std::string start;
    for (std::size_t k = 0; k < 2 && k < r.lines.size(); ++k) start += r.lines[k] + "\n";
    EXPECT_EQ(start, kUsage + "\n");
}

TEST_F(GrainSimTest, StateFileAConsoleHoldsIsNotSavedAndNothingRuns) {
    const std::string state = Path("state.INI");
    std::ofstream(state, std::ios::binary) << "[Dev3]\nMode=1\n";
    QLockFile console(QString::fromStdString(state + ".lock"));
    ASSERT_TRUE(console.tryLock(0));
    const RunResult r = Run("tick\nprint\nsave " + state + "\n");
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.errors, "grain-sim: state file '" + state + "' is in use by another program\n");
    EXPECT_TRUE(r.lines.empty());
    EXPECT_EQ(Slurp(state), "[Dev3]\nMode=1\n");
    const RunResult serving = RunWith("--serve 127.0.0.1:0 --state '" + state + "'");
    EXPECT_EQ(serving.status, 4);
    EXPECT_EQ(serving.errors, r.errors);
    EXPECT_TRUE(serving.lines.empty());

    console.unlock();
    const RunResult free = Run("tick\nsave " + state + "\n");
    EXPECT_EQ(free.status, 0) << free.errors;
    EXPECT_NE(Slurp(state).find("[Shipping]"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(state + ".lock"));
    std::remove(state.c_str());
}

struct BadScript {
    const char* name;
    const char* script;
    const char* error;
};
void PrintTo(const BadScript& b, std::ostream* os) {
    *os << b.name;
}

class GrainSimErrorTest : public GrainSimTest, public ::testing::WithParamInterface<BadScript> {};

TEST_P(GrainSimErrorTest, RunsNothingStatusTwo) {
    const RunResult r = Run(GetParam().script);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.lines.empty());
    EXPECT_EQ(r.errors, std::string(GetParam().error) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, GrainSimErrorTest,
    ::testing::Values(
        BadScript{"UnknownCommand", "tick\nprint\nfly away\n",
                  "grain-sim: line 3: unknown command 'fly'"},
        BadScript{"DeviceAboveTheTable", "dev 19 1\n",
                  "grain-sim: line 1: device 19 outside 1..18"},
        BadScript{"DeviceZeroAfterAComment", "# c\ndev 0 1\n",
                  "grain-sim: line 2: device 0 outside 1..18"},
        BadScript{"CodeThatIsNoCommand", "tick\ndev 1 99   # nothing\n",
                  "grain-sim: line 2: device command 99 is none of 1, 2, 3, 10, 20, 21, 22, 23"},
        BadScript{"RouteAboveTheList", "route 13 start\n",
                  "grain-sim: line 1: route 13 outside 1..12"},
        BadScript{"VagonDrawAboveTheDice", "vagon 200\n",
                  "grain-sim: line 1: vagon draw 200 outside 0..199"},
        BadScript{"TickCountNotANumber", "tick 1x\n", "grain-sim: line 1: malformed number '1x'"},
        BadScript{"CodeInWords", "\n\ndev 3 open\n", "grain-sim: line 3: malformed number 'open'"},
        BadScript{"RouteActionUnknown", "route 1 go\n",
                  "grain-sim: line 1: route action 'go' is neither start nor stop"},
        BadScript{"TickWithTwoCounts", "tick 1 2\n",
                  "grain-sim: line 1: too many arguments for 'tick'"},
        BadScript{"TripOfAGateValve", "fault 2 trip\n",
                  "grain-sim: line 1: device 2 cannot trip: it is a gate valve"},
        BadScript{"FaultBeyondTheTable", "fault 19 clear\n",
                  "grain-sim: line 1: device 19 outside 1..18"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GrainSimTest, MissingScriptFileIsAClearErrorWithStatusTwo) {
    const std::string missing = Path("no-such-script.txt");
    const std::string command =
        std::string("'") + GRAIN_SIM + "' '" + missing + "' 2> '" + Path("err.txt") + "'";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 2);
    EXPECT_EQ(Slurp(Path("err.txt")), "grain-sim: cannot open script '" + missing + "'\n");
    std::remove(Path("err.txt").c_str());
}

}  // namespace
