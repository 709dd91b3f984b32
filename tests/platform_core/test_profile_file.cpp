#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/core/ProfileFile.h"

namespace {

namespace fs = std::filesystem;
using platform::ProfileFile;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class ProfileFileTest : public testing::Test {
protected:
    ProfileFileTest() {
        folder_ = fs::temp_directory_path() /
                  ("profile-test-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~ProfileFileTest() override { fs::remove_all(folder_); }

    fs::path folder_;
};

TEST_F(ProfileFileTest, FindsSectionsAndKeysIgnoringCaseAndOrder) {
    ProfileFile profile;
    profile.Parse("[route]\nstep2=3\nSTATE2=2\n[DEV3]\nmode=1\n");
    EXPECT_EQ(profile.ReadInteger("Dev3", "Mode", 0), 1);
    EXPECT_EQ(profile.ReadInteger("Route", "State2", 0), 2);
    EXPECT_EQ(profile.ReadInteger("Route", "Step2", 0), 3);
    EXPECT_EQ(profile.ReadInteger("Dev4", "Mode", 9), 9);
    EXPECT_EQ(profile.ReadInteger("Dev3", "State", 9), 9);
}

TEST_F(ProfileFileTest, ReadsWindowsLineBreaksAndBlanksAroundEquals) {
    ProfileFile profile;
    profile.Parse("[Dev1]\r\n  Name = Задвижка М1  \r\nMode\t=\t3\r\n");
    EXPECT_EQ(profile.ReadString("Dev1", "Name", "x"), "Задвижка М1");
    EXPECT_EQ(profile.ReadInteger("Dev1", "Mode", 0), 3);
}

TEST_F(ProfileFileTest, EmptyNameIsEmptyButEmptyNumberIsTheFallback) {
    ProfileFile profile;
    profile.Parse("[Dev1]\nName=\nMode=\nUngle=abc\n[Level]\nTank1=\n");
    EXPECT_EQ(profile.ReadString("Dev1", "Name", "Задвижка М1"), "");
    EXPECT_EQ(profile.ReadString("Dev2", "Name", "Задвижка М2"), "Задвижка М2");
    EXPECT_EQ(profile.ReadInteger("Dev1", "Mode", 2), 2);
    EXPECT_EQ(profile.ReadInteger("Dev1", "Ungle", 45), 45);
    EXPECT_EQ(profile.ReadReal("Level", "Tank1", 4500.0), 4500.0);
}

TEST_F(ProfileFileTest, StripsOneMatchingPairOfQuotes) {
    ProfileFile profile;
    profile.Parse("[A]\nq=\" padded \"\ns='x'\nodd=\"x'\nlone=\"\n");
    EXPECT_EQ(profile.ReadString("A", "q", ""), " padded ");
    EXPECT_EQ(profile.ReadString("A", "s", ""), "x");
    EXPECT_EQ(profile.ReadString("A", "odd", ""), "\"x'");
    EXPECT_EQ(profile.ReadString("A", "lone", ""), "\"");
}

TEST_F(ProfileFileTest, ValuesAreReadThrough2047Characters) {
    const std::string ascii(3000, 'a');
    std::string cyrillic;
    for (int i = 0; i < 2100; ++i) cyrillic += "Ж";
    ProfileFile profile;
    profile.Parse("[A]\nlong=" + ascii + "\nwide=" + cyrillic + "\n");
    EXPECT_EQ(profile.ReadString("A", "long", ""), std::string(2047, 'a'));
    const std::string wide = profile.ReadString("A", "wide", "");
    EXPECT_EQ(wide.size(), 2047u * 2u);
    EXPECT_EQ(wide.substr(0, 4), "ЖЖ");
}

TEST_F(ProfileFileTest, FirstOfRepeatedKeysCountsAndWritingMergesThem) {
    ProfileFile profile;
    profile.Parse("[Dev1]\nMode=1\nmode=3\n[dev1]\nMODE=2\n");
    EXPECT_EQ(profile.ReadInteger("Dev1", "Mode", 0), 1);
    profile.WriteInteger("DEV1", "Mode", 0);
    EXPECT_EQ(profile.Text(), "[Dev1]\nMode=0\n");
}

TEST_F(ProfileFileTest, WritesKeysInOrderAndNewSectionsAtTheEnd) {
    ProfileFile profile;
    profile.Parse("[Dev1]\nName=Old\nMode=1\n");
    profile.WriteString("Dev1", "Mode", "2");
    profile.WriteString("Dev1", "State", "2");
    profile.WriteString("Level", "Tank1", "15000");
    profile.WriteReal("Level", "Tank2", 4499.97, ',');
    EXPECT_EQ(profile.Text(),
              "[Dev1]\nName=Old\nMode=2\nState=2\n\n[Level]\nTank1=15000\nTank2=4499,97\n");
}

TEST_F(ProfileFileTest, KeepsUnknownSectionsKeysAndComments) {
    const std::string text =
        "; written by the terminal\n"
        "\n"
        "[Operator]\n"
        "Who=Зернов\n"
        "\n"
        "; the first valve\n"
        "[Dev1]\n"
        "# colour on the diagram\n"
        "Colour=red\n"
        "Mode=3\n"
        "\n"
        "; the end\n";
    ProfileFile profile;
    profile.Parse(text);
    profile.WriteInteger("dev1", "mode", 1);
    EXPECT_EQ(profile.Text(),
              "; written by the terminal\n"
              "\n"
              "[Operator]\n"
              "Who=Зернов\n"
              "\n"
              "; the first valve\n"
              "[Dev1]\n"
              "\n"
              "# colour on the diagram\n"
              "Colour=red\n"
              "Mode=1\n"
              "\n"
              "; the end\n");
}

TEST_F(ProfileFileTest, KeepsLinesThatAreNoEntryAsComments) {
    ProfileFile profile;
    profile.Parse("[Dev1]\n[broken\nMode=2\n=orphan\njunk\n");
    // The unclosed bracket does not swallow the key after it.
    EXPECT_EQ(profile.ReadInteger("Dev1", "Mode", 0), 2);
    EXPECT_EQ(profile.Text(), "[Dev1]\n\n;[broken\nMode=2\n\n=orphan\njunk\n");
}

TEST_F(ProfileFileTest, WrittenTextReadsBackToTheSameText) {
    ProfileFile first;
    first.Parse("#top\n\n[B]\n; b\nk=1\n[a]\n\n\n;x\n;y\n\nj = 2\n[bad\n;end\n");
    ProfileFile second;
    second.Parse(first.Text());
    EXPECT_EQ(second.Text(), first.Text());
}

TEST_F(ProfileFileTest, CommentOnlyFileStaysAsItWas) {
    ProfileFile profile;
    profile.Parse("; one\n\n; two\n");
    EXPECT_EQ(profile.Text(), "; one\n\n; two\n");
}

TEST_F(ProfileFileTest, TakesWindows1251WhenNotUtf8) {
    ProfileFile profile;
    profile.Parse("[Dev1]\nName=\xC7\xE0\xE4\xE2\xE8\xE6\xEA\xE0 \xCC\x31\n");
    EXPECT_EQ(profile.ReadString("Dev1", "Name", ""), "Задвижка М1");
    EXPECT_EQ(profile.Text(), "[Dev1]\nName=Задвижка М1\n");
}

TEST_F(ProfileFileTest, IgnoresByteOrderMarkAndNulCharacters) {
    ProfileFile profile;
    const char bytes[] = "\xEF\xBB\xBF[Dev1]\nMo\0de=1\n[Dev2]\nMode=3\n";
    profile.Parse(std::string(bytes, sizeof bytes - 1));
    EXPECT_EQ(profile.ReadInteger("Dev1", "Mode", 0), 1);
    EXPECT_EQ(profile.ReadInteger("Dev2", "Mode", 0), 3);
}

TEST_F(ProfileFileTest, LineBreaksInWrittenValuesBecomeBlanks) {
    ProfileFile profile;
    profile.WriteString("Dev1", "Name", "two\r\nlines\n[Dev2]");
    EXPECT_EQ(profile.Text(), "[Dev1]\nName=two  lines [Dev2]\n");
}

TEST_F(ProfileFileTest, MissingFileLoadsEmpty) {
    ProfileFile profile;
    profile.Parse("[A]\nk=v\n");
    EXPECT_TRUE(profile.Load((folder_ / "none.INI").string()));
    EXPECT_EQ(profile.Text(), "");
}

TEST_F(ProfileFileTest, FolderInPlaceOfTheFileIsAReadFailure) {
    fs::create_directory(folder_ / "dir.INI");
    ProfileFile profile;
    EXPECT_FALSE(profile.Load((folder_ / "dir.INI").string()));
}

TEST_F(ProfileFileTest, PipeInPlaceOfTheFileIsAReadFailureNotAHang) {
    const auto path = folder_ / "pipe.INI";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ProfileFile profile;
    EXPECT_FALSE(profile.Load(path.string()));
}

TEST_F(ProfileFileTest, SavesAndLoadsBack) {
    const auto path = (folder_ / "T.INI").string();
    ProfileFile written;
    written.WriteString("Dev1", "Name", "Нория 1.1");
    written.WriteReal("Shipping", "Massa", 12.5, '.');
    ASSERT_TRUE(written.Save(path));
    EXPECT_EQ(ReadFile(path), "[Dev1]\nName=Нория 1.1\n\n[Shipping]\nMassa=12.5\n");

    ProfileFile read;
    ASSERT_TRUE(read.Load(path));
    EXPECT_EQ(read.ReadString("Dev1", "Name", ""), "Нория 1.1");
    EXPECT_EQ(read.ReadReal("Shipping", "Massa", 0.0), 12.5);
}

TEST_F(ProfileFileTest, SaveReplacesTheWholeFileAndKeepsItsPermissions) {
    const auto path = folder_ / "T.INI";
    WriteFile(path, std::string(5000, 'x') + "\n[Old]\nk=v\n");
    ::chmod(path.c_str(), 0640);
    ProfileFile profile;
    profile.WriteInteger("New", "k", 1);
    ASSERT_TRUE(profile.Save(path.string()));
    EXPECT_EQ(ReadFile(path), "[New]\nk=1\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(ProfileFileTest, SaveIntoMissingFolderFails) {
    ProfileFile profile;
    profile.WriteInteger("A", "k", 1);
    EXPECT_FALSE(profile.Save((folder_ / "no-such-folder" / "T.INI").string()));
    EXPECT_FALSE(fs::exists(folder_ / "no-such-folder"));
}

TEST_F(ProfileFileTest, FailedSaveLeavesTheOldFileAndNoLeftovers) {
    // A folder standing where the file should go: the rename fails, even for root.
    const auto path = folder_ / "T.INI";
    fs::create_directory(path);
    WriteFile(path / "inside", "old");
    ProfileFile profile;
    profile.WriteInteger("A", "k", 1);
    EXPECT_FALSE(profile.Save(path.string()));
    EXPECT_EQ(ReadFile(path / "inside"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(ProfileFileTest, SaveThroughSymbolicLinkReplacesItsTarget) {
    const auto target = folder_ / "real.INI";
    const auto link = folder_ / "link.INI";
    WriteFile(target, "[A]\nk=0\n");
    fs::create_symlink(target, link);
    ProfileFile profile;
    profile.WriteInteger("A", "k", 1);
    ASSERT_TRUE(profile.Save(link.string()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(target), "[A]\nk=1\n");
}

}  // namespace
