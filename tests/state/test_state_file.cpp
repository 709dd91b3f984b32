#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "state/ArchiveSection.h"
#include "state/StateFile.h"

namespace {

namespace fs = std::filesystem;
using plant::Plant;
using state::LoadState;
using state::SaveState;
using state::StateFilePath;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The tables as start-up leaves them before the file is read.
Plant StartUpPlant() {
    Plant plant;
    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        plant.Dev[i].Name = "Device " + std::to_string(i);
        plant.Dev[i].Kind = i >= 9 ? plant::kKindDrive : plant::kKindValve;
    }
    plant.Dev[3].Name = "Задвижка М3";
    plant.Tank[1] = 15000.0;
    plant.Tank[2] = 4500.0;
    plant.Tank[3] = 11250.0;
    plant.Tank[4] = 7500.0;
    return plant;
}

class StateFileTest : public testing::Test {
protected:
    StateFileTest() {
        folder_ = fs::temp_directory_path() /
                  ("state-test-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        path_ = (folder_ / "Terminal.INI").string();
    }
    ~StateFileTest() override { fs::remove_all(folder_); }

    Plant Loaded(const std::string& fileText) {
        WriteFile(path_, fileText);
        Plant plant = StartUpPlant();
        LoadState(plant, path_);
        return plant;
    }

    // Every saved value of the two tables is the same.
    static void ExpectSameSavedValues(const Plant& a, const Plant& b) {
        for (int i = 1; i <= plant::kDeviceCount; ++i) {
            EXPECT_EQ(a.Dev[i].Name, b.Dev[i].Name) << "Dev" << i;
            EXPECT_EQ(a.Dev[i].Mode, b.Dev[i].Mode) << "Dev" << i;
            EXPECT_EQ(a.Dev[i].State, b.Dev[i].State) << "Dev" << i;
            EXPECT_EQ(a.Dev[i].Ungle, b.Dev[i].Ungle) << "Dev" << i;
        }
        for (int n = 1; n <= plant::kSiloCount; ++n) EXPECT_EQ(a.Tank[n], b.Tank[n]) << n;
        for (int r = 1; r <= plant::kRouteCount; ++r) {
            EXPECT_EQ(a.Route[r].State, b.Route[r].State) << "Route" << r;
        }
        EXPECT_EQ(a.ShippingMassa, b.ShippingMassa);
    }

    fs::path folder_;
    std::string path_;
};

TEST_F(StateFileTest, MissingFileKeepsStartUpValues) {
    Plant plant = StartUpPlant();
    LoadState(plant, (folder_ / "none.INI").string());
    ExpectSameSavedValues(plant, StartUpPlant());
}

TEST_F(StateFileTest, OnlyDev3ModeChangesOnlyValveM3Mode) {
    const Plant plant = Loaded("[Dev3]\nMode=1\n");
    Plant expected = StartUpPlant();
    expected.Dev[3].Mode = plant::kModeRemote;
    ExpectSameSavedValues(plant, expected);
    EXPECT_EQ(plant.Dev[3].Name, "Задвижка М3");
}

TEST_F(StateFileTest, HexadecimalModeAndLowerCaseNames) {
    const Plant plant = Loaded("[dev5]\nmode=0x1\nUNGLE=0x5A\n");
    EXPECT_EQ(plant.Dev[5].Mode, 1);
    EXPECT_EQ(plant.Dev[5].Ungle, 90);
}

TEST_F(StateFileTest, EmptyNameGivesEmptyNameButEmptyNumbersKeepDefaults) {
    const Plant plant = Loaded("[Dev3]\nName=\nMode=\n[Level]\nTank2=\n");
    EXPECT_EQ(plant.Dev[3].Name, "");
    EXPECT_EQ(plant.Dev[3].Mode, plant::kModeLocal);
    EXPECT_EQ(plant.Tank[2], 4500.0);
}

TEST_F(StateFileTest, RealsWithEitherSeparatorAndNonFiniteReals) {
    const Plant plant = Loaded(
        "[Level]\nTank1=4499,97\nTank2=12.5\nTank3=nan\nTank4=1e400\n"
        "[Shipping]\nMassa=inf\n");
    EXPECT_DOUBLE_EQ(plant.Tank[1], 4499.97);
    EXPECT_DOUBLE_EQ(plant.Tank[2], 12.5);
    EXPECT_EQ(plant.Tank[3], 11250.0);
    EXPECT_EQ(plant.Tank[4], 7500.0);
    EXPECT_EQ(plant.ShippingMassa, 0.0);
}

class StateFileOutOfRange : public StateFileTest,
                            public testing::WithParamInterface<const char*> {};

TEST_P(StateFileOutOfRange, ValueKeepsItsDefault) {
    ExpectSameSavedValues(Loaded(GetParam()), StartUpPlant());
}

INSTANTIATE_TEST_SUITE_P(Values, StateFileOutOfRange,
                         testing::Values("[Dev1]\nMode=7\n", "[Dev1]\nMode=-1\n",
                                         "[Dev9]\nState=5\n", "[Dev2]\nUngle=91\n",
                                         "[Dev2]\nUngle=-3\n", "[Dev2]\nMode=0xFFFFFFFF\n",
                                         "[Route]\nState1=4\n", "[Route]\nState1=-1\n"));

TEST_F(StateFileTest, RoutesComeBackWithoutAResumedSequence) {
    const Plant plant = Loaded(
        "[Route]\nState1=2\nStep1=3\nState2=0\nStep2=13\nStep3=99\n"
        "State4=1\nStep4=2\nState5=3\nStep5=12\n");
    EXPECT_EQ(plant.Route[1].State, plant::kRouteRunning);
    // Nothing would move a route on from starting or stopping: it would stay so
    // and keep its conflicting routes forbidden for good.
    EXPECT_EQ(plant.Route[4].State, plant::kRouteStopped);
    EXPECT_EQ(plant.Route[5].State, plant::kRouteStopped);
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        EXPECT_EQ(plant.Route[r].Step, 0) << r;
        EXPECT_EQ(plant.Route[r].Position, 0) << r;
    }
}

TEST_F(StateFileTest, RoundTripOfEveryKey) {
    Plant saved = StartUpPlant();
    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        saved.Dev[i].Name = "Прибор №" + std::to_string(i);
        saved.Dev[i].Mode = (i % 2 == 0) ? plant::kModeRepair : plant::kModeRemote;
        saved.Dev[i].State = i % 3;
        saved.Dev[i].Ungle = i * 5;
    }
    saved.Tank[1] = 14999.99;
    saved.Tank[2] = 0.03;
    saved.Tank[3] = 0.0;
    saved.Tank[4] = 7500.5;
    for (int r = 1; r <= plant::kRouteCount; ++r) saved.Route[r].State = (r % 2) * 2;
    saved.ShippingMassa = 123.45;
    ASSERT_TRUE(SaveState(saved, path_, ','));

    Plant loaded = StartUpPlant();
    LoadState(loaded, path_);
    ExpectSameSavedValues(loaded, saved);
}

TEST_F(StateFileTest, WritesKeysInTableOrder) {
    Plant plant = StartUpPlant();
    plant.Route[1].State = plant::kRouteRunning;
    plant.Route[1].Step = 4;
    plant.ShippingMassa = 4499.97;
    ASSERT_TRUE(SaveState(plant, path_, ','));
    const std::string text = ReadFile(path_);
    EXPECT_EQ(text.substr(0, 52), "[Dev1]\nName=Device 1\nMode=0\nState=2\nUngle=0\n\n[Dev2]\n");
    EXPECT_NE(text.find("[Dev18]\nName=Device 18\nMode=0\nState=2\nUngle=0\n\n[Level]\n"
                        "Tank1=15000\nTank2=4500\nTank3=11250\nTank4=7500\n\n[Route]\n"
                        "State1=2\nStep1=4\nState2=0\nStep2=0\n"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("State12=0\nStep12=0\n\n[Shipping]\nMassa=4499,97\n")) << text;
}

TEST_F(StateFileTest, AutoIsSavedAndKeptAsRemote) {
    Plant plant = StartUpPlant();
    plant.Dev[13].Mode = plant::kModeAuto;
    ASSERT_TRUE(SaveState(plant, path_, '.'));
    EXPECT_EQ(plant.Dev[13].Mode, plant::kModeRemote);
    EXPECT_EQ(Loaded(ReadFile(path_)).Dev[13].Mode, plant::kModeRemote);
}

TEST_F(StateFileTest, HalfWayRoutesAreSavedAndKeptAsStoppedWithTheirStep) {
    Plant plant = StartUpPlant();
    plant.Route[5].State = plant::kRouteStarting;
    plant.Route[5].Step = 3;
    plant.Route[6].State = plant::kRouteStopping;
    plant.Route[6].Step = 12;
    plant.Route[7].State = plant::kRouteRunning;
    ASSERT_TRUE(SaveState(plant, path_, '.'));
    EXPECT_EQ(plant.Route[5].State, plant::kRouteStopped);
    EXPECT_EQ(plant.Route[5].Step, 3);
    EXPECT_EQ(plant.Route[6].State, plant::kRouteStopped);
    const std::string text = ReadFile(path_);
    EXPECT_NE(text.find("State5=0\nStep5=3\nState6=0\nStep6=12\nState7=2\n"), std::string::npos);

    const Plant reloaded = Loaded(text);
    EXPECT_EQ(reloaded.Route[5].State, plant::kRouteStopped);
    EXPECT_EQ(reloaded.Route[7].State, plant::kRouteRunning);
    EXPECT_EQ(reloaded.Route[5].Step, 0);
}

TEST_F(StateFileTest, SaveKeepsUnknownSectionsKeysAndComments) {
    WriteFile(path_, "; terminal state\n\n[Dev1]\n; colour\nColour=red\nMode=3\n[Extra]\nk=v\n");
    Plant plant = StartUpPlant();
    ASSERT_TRUE(SaveState(plant, path_, '.'));
    const std::string text = ReadFile(path_);
    EXPECT_TRUE(
        text.starts_with("; terminal state\n\n[Dev1]\n\n; colour\nColour=red\nMode=0\n"
                         "Name=Device 1\nState=2\nUngle=0\n\n[Extra]\nk=v\n\n[Dev2]\n"))
        << text;
}

TEST_F(StateFileTest, OneWindows1251LineKeepsTheOtherSeventeenNames) {
    std::string text;
    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        // Device 5 as a Russian Windows system writes "Задвижка М5".
        const std::string name =
            i == 5 ? "\xC7\xE0\xE4\xE2\xE8\xE6\xEA\xE0 \xCC\x35" : "Прибор №" + std::to_string(i);
        text += "[Dev" + std::to_string(i) + "]\r\nName=" + name + "\r\n";
    }
    Plant plant = Loaded(text);
    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        EXPECT_EQ(plant.Dev[i].Name, i == 5 ? "Задвижка М5" : "Прибор №" + std::to_string(i)) << i;
    }
    ASSERT_TRUE(SaveState(plant, path_, '.'));
    const std::string saved = ReadFile(path_);
    EXPECT_NE(saved.find("[Dev5]\nName=Задвижка М5\n"), std::string::npos);
    EXPECT_NE(saved.find("[Dev18]\nName=Прибор №18\n"), std::string::npos);
}

TEST_F(StateFileTest, HeaderWithoutItsBracketKeepsItsLinesThroughASave) {
    const std::string broken = "[Dev3\nMode=3\nUngle=45\n";
    Plant plant = Loaded("[Dev2]\nMode=1\n" + broken + "[Dev4]\nMode=2\n");
    EXPECT_EQ(plant.Dev[2].Mode, plant::kModeRemote);
    EXPECT_EQ(plant.Dev[2].Ungle, 0);  // the keys below the broken header are not Dev2's
    EXPECT_EQ(plant.Dev[3].Mode, plant::kModeLocal);
    EXPECT_EQ(plant.Dev[4].Mode, plant::kModeAuto);
    ASSERT_TRUE(SaveState(plant, path_, '.'));
    EXPECT_NE(ReadFile(path_).find(broken), std::string::npos) << ReadFile(path_);
}

TEST_F(StateFileTest, ReadsWindows1251NamesAndWritesUtf8) {
    // "Вентилятор 2.1" in Windows-1251.
    const Plant plant = Loaded("[Dev9]\nName=\xC2\xE5\xED\xF2\xE8\xEB\xFF\xF2\xEE\xF0 2.1\n");
    EXPECT_EQ(plant.Dev[9].Name, "Вентилятор 2.1");
    Plant copy = plant;
    ASSERT_TRUE(SaveState(copy, path_, '.'));
    EXPECT_NE(ReadFile(path_).find("[Dev9]\nName=Вентилятор 2.1\n"), std::string::npos);
}

TEST_F(StateFileTest, SaveIntoMissingFolderFailsAndChangesNothing) {
    Plant plant = StartUpPlant();
    plant.Dev[1].Mode = plant::kModeAuto;
    plant.Route[1].State = plant::kRouteStarting;
    EXPECT_FALSE(SaveState(plant, (folder_ / "gone" / "Terminal.INI").string(), '.'));
    EXPECT_EQ(plant.Dev[1].Mode, plant::kModeAuto);
    EXPECT_EQ(plant.Route[1].State, plant::kRouteStarting);
}

TEST_F(StateFileTest, FailedSaveLeavesTheOldFileUntouched) {
    // The folder is replaced by a file: no write can succeed there, even as root.
    const fs::path blocked = folder_ / "blocked";
    WriteFile(blocked, "[Dev1]\nMode=3\n");
    Plant plant = StartUpPlant();
    EXPECT_FALSE(SaveState(plant, (blocked / "Terminal.INI").string(), '.'));
    EXPECT_EQ(ReadFile(blocked), "[Dev1]\nMode=3\n");

    // A folder in the file's place cannot be read, so it is not replaced either.
    fs::create_directory(path_);
    EXPECT_FALSE(SaveState(plant, path_, '.'));
    EXPECT_TRUE(fs::is_directory(path_));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

struct PathCase {
    const char* executable;
    const char* state;
};
void PrintTo(const PathCase& c, std::ostream* os) {
    *os << '"' << c.executable << '"';
}

class StateFilePathRule : public testing::TestWithParam<PathCase> {};

TEST_P(StateFilePathRule, SwapsTheLastExtension) {
    EXPECT_EQ(StateFilePath(GetParam().executable), GetParam().state);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StateFilePathRule,
    testing::Values(PathCase{"/opt/grain/Terminal.exe", "/opt/grain/Terminal.INI"},
                    PathCase{"/opt/grain/terminal", "/opt/grain/terminal.INI"},
                    PathCase{"/opt/grain.v2/terminal", "/opt/grain.v2/terminal.INI"},
                    PathCase{"/opt/grain.v2/term.bin", "/opt/grain.v2/term.INI"},
                    PathCase{"/opt/a.tar.gz", "/opt/a.tar.INI"},
                    PathCase{"/opt/name.", "/opt/name.INI"},
                    PathCase{"/opt/.terminal", "/opt/.terminal.INI"},
                    PathCase{"terminal", "terminal.INI"}));

struct ArchiveCase {
    const char* name;
    const char* ini;
    bool wanted;
    const char* path;
    int days;
    int sampleSeconds;
    const char* error;
};
void PrintTo(const ArchiveCase& c, std::ostream* os) {
    *os << c.name;
}

class ArchiveSectionRule : public testing::TestWithParam<ArchiveCase> {};

TEST_P(ArchiveSectionRule, SaysWhereAndHowLong) {
    platform::ProfileFile profile;
    profile.Parse(GetParam().ini);
    const state::ArchiveSection section =
        state::ReadArchiveSection(profile, "/opt/grain/GrainTerminal.INI");
    EXPECT_EQ(section.wanted, GetParam().wanted);
    EXPECT_EQ(section.error, GetParam().error);
    if (!section.wanted || !section.error.empty()) return;
    EXPECT_EQ(section.settings.path, GetParam().path);
    EXPECT_EQ(section.settings.days, GetParam().days);
    EXPECT_EQ(section.settings.sampleSeconds, GetParam().sampleSeconds);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, ArchiveSectionRule,
    testing::Values(
        ArchiveCase{"None", "[Modbus]\nPort=5020\n", false, "", 0, 0, ""},
        ArchiveCase{"Bare", "[archive]\n", true, "/opt/grain/GrainTerminal.db", 365, 10, ""},
        ArchiveCase{"EmptyPath", "[Archive]\nPath=\n", true, "/opt/grain/GrainTerminal.db", 365, 10,
                    ""},
        ArchiveCase{"RelativePath", "[Archive]\nPath=logs/plant.db\nDays=0\nSampleSeconds=0x3C\n",
                    true, "/opt/grain/logs/plant.db", 0, 60, ""},
        ArchiveCase{"AbsolutePath", "[Archive]\nPath=/var/lib/grain.db\n", true,
                    "/var/lib/grain.db", 365, 10, ""},
        ArchiveCase{"DaysOutOfRange", "[Archive]\nDays=36501\n", true, "", 0, 0,
                    "Days=36501 - ожидается целое число от 0 до 36500"},
        ArchiveCase{"SamplesNoNumber", "[Archive]\nSampleSeconds=ten\n", true, "", 0, 0,
                    "SampleSeconds=ten - ожидается целое число от 0 до 86400"}));

}  // namespace
