#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

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

TEST_F(ProfileFileTest, KeepsLinesThatAreNoEntryAsTheyStand) {
    ProfileFile profile;
    profile.Parse(
        "[Dev1]\nMode=1\n[Dev2\nMode=2\n=orphan\n  junk\n[Dev3]\nMode=3\n[Dev4\nName=x\n");
    // The keys under a header without its "]" belong to no section: neither to
    // the section before nor to a section of a garbled name.
    EXPECT_EQ(profile.ReadInteger("Dev1", "Mode", 0), 1);
    EXPECT_EQ(profile.ReadInteger("Dev2", "Mode", 0), 0);
    EXPECT_EQ(profile.ReadInteger("Dev3", "Mode", 0), 3);
    EXPECT_EQ(profile.ReadString("Dev4", "Name", "-"), "-");
    profile.WriteInteger("Dev1", "Mode", 0);
    profile.WriteInteger("Dev2", "Mode", 0);
    EXPECT_EQ(profile.Text(),
              "[Dev1]\nMode=0\n\n[Dev2\nMode=2\n=orphan\n  junk\n[Dev3]\nMode=3\n\n"
              "[Dev2]\nMode=0\n\n[Dev4\nName=x\n");
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

struct EncodedFile {
    const char* name;
    std::string bytes;
};
void PrintTo(const EncodedFile& kind, std::ostream* os) {
    *os << kind.name;
}

class ProfileFileEncoding : public testing::TestWithParam<EncodedFile> {};

TEST_P(ProfileFileEncoding, ReadsAnyAndWritesUtf8) {
    ProfileFile profile;
    profile.Parse(GetParam().bytes);
    EXPECT_EQ(profile.ReadString("Dev1", "Name", ""), "Задвижка М1");
    EXPECT_EQ(profile.ReadString("Dev9", "Name", ""), "Вентилятор 2.1");
    EXPECT_EQ(profile.Text(), "[Dev1]\nName=Задвижка М1\n\n[Dev9]\nName=Вентилятор 2.1\n");
}

// "Задвижка М1" and "Вентилятор 2.1" in Windows-1251.
const std::string kValve1251 = "\xC7\xE0\xE4\xE2\xE8\xE6\xEA\xE0 \xCC\x31";
const std::string kFan1251 = "\xC2\xE5\xED\xF2\xE8\xEB\xFF\xF2\xEE\xF0 2.1";

// The two names of the expected text in UTF-16, with the byte-order mark.
std::string Utf16(bool bigEndian) {
    const std::u16string text = u"[Dev1]\r\nName=Задвижка М1\r\n[Dev9]\r\nName=Вентилятор 2.1\r\n";
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ProfileFileEncoding,
    testing::Values(
        EncodedFile{"Utf8", "[Dev1]\nName=Задвижка М1\n[Dev9]\nName=Вентилятор 2.1\n"},
        EncodedFile{"Windows1251",
                    "[Dev1]\nName=" + kValve1251 + "\n[Dev9]\nName=" + kFan1251 + "\n"},
        // One line written on a Russian Windows system does not spoil the others.
        EncodedFile{"Utf8WithOneWindows1251Line",
                    "[Dev1]\r\nName=" + kValve1251 + "\r\n[Dev9]\r\nName=Вентилятор 2.1\r\n"},
        EncodedFile{"Utf8WithByteOrderMark",
                    "\xEF\xBB\xBF[Dev1]\nName=Задвижка М1\n[Dev9]\nName=Вентилятор 2.1\n"},
        EncodedFile{"Utf16LittleEndian", Utf16(false)}, EncodedFile{"Utf16BigEndian", Utf16(true)}),
    [](const auto& info) { return std::string(info.param.name); });

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
    std::string failure;
    EXPECT_FALSE(profile.Load((folder_ / "dir.INI").string(), &failure));
    EXPECT_EQ(failure, "Is a directory");
}

TEST_F(ProfileFileTest, PipeInPlaceOfTheFileIsAReadFailureNotAHang) {
    const auto path = folder_ / "pipe.INI";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ProfileFile profile;
    std::string failure;
    EXPECT_FALSE(profile.Load(path.string(), &failure));
    EXPECT_EQ(failure, "not a regular file");
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

// Runs `body` in a child process, as an unprivileged user when this runs as
// root (root passes every permission check); true when body returned true.
bool InChildProcess(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(2);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ProfileFileTest, WritableFileInReadOnlyFolderIsWrittenInPlace) {
    const auto path = folder_ / "T.INI";
    WriteFile(path, std::string(3000, 'x') + "\n[Old]\nk=v\n");
    ::chmod(path.c_str(), 0666);
    ::chmod(folder_.c_str(), 0555);
    ProfileFile profile;
    profile.WriteInteger("New", "k", 1);
    const bool saved = InChildProcess([&] { return profile.Save(path.string()); });
    ::chmod(folder_.c_str(), 0755);
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadFile(path), "[New]\nk=1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(ProfileFileTest, SaveRemovesTemporariesAKilledSaveLeftAndNothingElse) {
    const auto path = folder_ / "T.INI";
    for (const char* name : {"T.INI.a1B2c3", "T.INI.ZZZZZZ"}) WriteFile(folder_ / name, "stale");
    const std::vector<std::string> others = {"T.INI.bak",    "T.INI.a1B2c",  "T.INI.a1B2c34",
                                             "T.INI.a1-2c3", "U.INI.a1B2c3", "T.INI.lock"};
    for (const std::string& name : others) WriteFile(folder_ / name, "keep");
    fs::create_directory(folder_ / "T.INI.dir123");
    ProfileFile profile;
    profile.WriteInteger("A", "k", 1);
    ASSERT_TRUE(profile.Save(path.string()));
    EXPECT_FALSE(fs::exists(folder_ / "T.INI.a1B2c3"));
    EXPECT_FALSE(fs::exists(folder_ / "T.INI.ZZZZZZ"));
    for (const std::string& name : others) EXPECT_EQ(ReadFile(folder_ / name), "keep") << name;
    EXPECT_TRUE(fs::is_directory(folder_ / "T.INI.dir123"));
}

TEST_F(ProfileFileTest, FileWithoutOwnerWritePermissionIsNotReplacedEvenByRoot) {
    const auto path = folder_ / "T.INI";
    WriteFile(path, "[A]\nk=0\n");
    ::chmod(path.c_str(), 0444);
    ProfileFile profile;
    profile.WriteInteger("A", "k", 1);
    EXPECT_FALSE(profile.Save(path.string()));
    EXPECT_EQ(ReadFile(path), "[A]\nk=0\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

// A link planted by another user must not make root write the file it names.
TEST_F(ProfileFileTest, LinkOfAnotherUserIsNotFollowedByRoot) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to own files as another user";
    constexpr uid_t kIntruder = 65534;
    const auto target = folder_ / "passwd";
    WriteFile(target, "root:x:0:0\n");
    const auto dangling = folder_ / "cron";
    for (const auto& [name, pointsTo] :
         {std::pair{"T.INI", target}, std::pair{"U.INI", dangling}}) {
        const auto link = folder_ / name;
        fs::create_symlink(pointsTo, link);
        ASSERT_EQ(::lchown(link.c_str(), kIntruder, kIntruder), 0);
        ProfileFile profile;
        profile.WriteInteger("A", "k", 1);
        EXPECT_FALSE(profile.Save(link.string())) << name;
    }
    EXPECT_EQ(ReadFile(target), "root:x:0:0\n");
    EXPECT_FALSE(fs::exists(dangling));

    // The same link is followed when its target belongs to its owner.
    ASSERT_EQ(::chown(target.c_str(), kIntruder, kIntruder), 0);
    ProfileFile profile;
    profile.WriteInteger("A", "k", 1);
    EXPECT_TRUE(profile.Save((folder_ / "T.INI").string()));
    EXPECT_EQ(ReadFile(target), "[A]\nk=1\n");
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
