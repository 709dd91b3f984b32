#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <variant>

#include "platform/core/LockFile.h"
#include "tests/users/CheapHash.h"
#include "users/Password.h"
#include "users/UsersFile.h"

namespace {

namespace fs = std::filesystem;

using users::Role;
using users::UsersLoad;

const std::string kHash = userstest::CheapHash("зерно");

std::string ErrorOf(const std::string& text) {
    const auto parsed = users::ParseUsers(text);
    const auto* error = std::get_if<users::UsersError>(&parsed);
    return error ? error->Text() : "(read)";
}

TEST(UsersFile, ReadsCyrillicNamesRolesHashesAndTheIdleTime) {
    const std::string text =
        "\xEF\xBB\xBF# пульт\r\n\r\nIdleMinutes = 15\r\nЗернов:оператор:" + kHash +
        "\r\n  # смена Б\nПетров Иван-2:инженер:" + kHash + "\nsmith_j.:наблюдатель:" + kHash;
    const auto parsed = users::ParseUsers(text);
    ASSERT_TRUE(std::holds_alternative<users::Users>(parsed)) << ErrorOf(text);
    const users::Users& read = std::get<users::Users>(parsed);
    EXPECT_EQ(read.idleMinutes, 15);
    ASSERT_EQ(read.list.size(), 3u);
    EXPECT_EQ(read.list[0].name, "Зернов");
    EXPECT_EQ(read.list[0].role, Role::Operator);
    EXPECT_EQ(read.list[0].hash, kHash);
    EXPECT_EQ(read.list[1].name, "Петров Иван-2");
    EXPECT_EQ(read.list[1].role, Role::Engineer);
    EXPECT_EQ(read.list[2].name, "smith_j.");
    EXPECT_EQ(read.list[2].role, Role::Observer);
}

struct BadText {
    const char* name;
    std::string text;
    std::string error;
};
void PrintTo(const BadText& bad, std::ostream* os) {
    *os << bad.name;
}

class UsersFileRefusal : public testing::TestWithParam<BadText> {};

TEST_P(UsersFileRefusal, NamesTheLineAndWhy) {
    EXPECT_EQ(ErrorOf(GetParam().text), GetParam().error);
}

const std::string kLineForm = " (ожидается ИМЯ:РОЛЬ:ХЕШ)";

INSTANTIATE_TEST_SUITE_P(
    Lines, UsersFileRefusal,
    testing::Values(
        BadText{"CorruptLine", "IdleMinutes=5\nЗернов оператор\n",
                "строка 2: строка не похожа ни на пользователя (ИМЯ:РОЛЬ:ХЕШ), ни на "
                "настройку IdleMinutes=N"},
        BadText{"MissingRole", "# пульт\nЗернов:" + kHash + "\n",
                "строка 2: не указана роль" + kLineForm},
        BadText{"EmptyRole", "Зернов::" + kHash + "\n",
                "строка 1: не указана роль пользователя «Зернов»"},
        BadText{"UnknownRole", "Зернов:директор:" + kHash + "\n",
                "строка 1: неизвестная роль «директор» (допустимы: наблюдатель, оператор, "
                "инженер)"},
        BadText{"MissingHash", "Зернов:оператор\n", "строка 1: не указан хеш пароля" + kLineForm},
        BadText{"ExtraColon", "Зернов:оператор:" + kHash + ":x\n",
                "строка 1: лишнее двоеточие" + kLineForm},
        BadText{"BadName", " Зернов:оператор:" + kHash + "\n",
                "строка 1: имя пользователя « Зернов»: имя должно начинаться с буквы или "
                "цифры"},
        BadText{"PlainPassword", "Зернов:оператор:зерно\n",
                "строка 1: хеш пароля пользователя «Зернов» не в формате argon2id"},
        BadText{"TwiceTheSameUser",
                "Зернов:оператор:" + kHash + "\nПетров:инженер:" + kHash +
                    "\nЗернов:инженер:" + kHash + "\n",
                "строка 3: пользователь «Зернов» уже записан в строке 1"},
        BadText{"IdleNotANumber", "IdleMinutes=15m\n",
                "строка 1: IdleMinutes: ожидается число минут от 0 до 1440, а не «15m»"},
        BadText{"IdleTooLong", "IdleMinutes=1441\n",
                "строка 1: IdleMinutes: ожидается число минут от 0 до 1440, а не «1441»"},
        BadText{"IdleTwice", "IdleMinutes=1\nIdleMinutes=2\n",
                "строка 2: настройка IdleMinutes повторяется"},
        BadText{"UnknownSetting", "Allow=1\n", "строка 1: неизвестная настройка «Allow»"},
        BadText{"NotUtf8", "\xC7\xE5\xF0\xED\xEE\xE2:оператор:" + kHash + "\n",
                "строка 1: текст не в кодировке UTF-8"},
        BadText{"ControlCharacterQuoted", "Зер\x1bнов:оператор:" + kHash + "\n",
                "строка 1: имя пользователя «Зер?нов»: недопустимый знак (управляющий); "
                "допустимы буквы, цифры, пробел, точка, дефис и подчёркивание"},
        BadText{"LongLine", "# " + std::string(1023, 'x') + "\n",
                "строка 1: строка длиннее 1024 байт"}),
    [](const auto& info) { return std::string(info.param.name); });

struct NameCase {
    const char* label;  // the case's name in the test list
    const char* name;
    std::string problem;  // empty: a valid name
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class UserName : public testing::TestWithParam<NameCase> {};

TEST_P(UserName, IsTakenOrRefusedWithItsReason) {
    EXPECT_EQ(users::UserNameProblem(GetParam().name).value_or(""), GetParam().problem)
        << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, UserName,
    testing::Values(NameCase{"Cyrillic", "Зернов", ""},
                    NameCase{"InitialsWithDots", "Ёлкин Ё.Ё.", ""},
                    NameCase{"LatinHyphenUnderscore", "smith-2_b", ""},
                    NameCase{"DigitFirst", "7смена", ""},
                    NameCase{"ThirtyTwoLetters", "Абвгдеёжзийклмнопрстуфхцчшщъыьэю", ""},
                    NameCase{"ThirtyThreeLetters", "Абвгдеёжзийклмнопрстуфхцчшщъыьэюя",
                             "имя длиннее 32 знаков"},
                    NameCase{"Empty", "", "пустое имя"},
                    NameCase{"HyphenFirst", "-Зернов", "имя должно начинаться с буквы или цифры"},
                    NameCase{"BlankLast", "Зернов ", "имя кончается пробелом"},
                    NameCase{"TwoBlanks", "Иван  Зернов", "два пробела подряд"},
                    NameCase{"Colon", "Зер:нов",
                             "недопустимый знак «:»; допустимы буквы, цифры, пробел, "
                             "точка, дефис и подчёркивание"},
                    NameCase{"EqualsSign", "Zernov=1",
                             "недопустимый знак «=»; допустимы буквы, цифры, "
                             "пробел, точка, дефис и подчёркивание"},
                    NameCase{"Tab", "Иван\tЗернов",
                             "недопустимый знак (управляющий); допустимы "
                             "буквы, цифры, пробел, точка, дефис и "
                             "подчёркивание"}),
    [](const auto& info) { return std::string(info.param.label); });

struct HashCase {
    const char* name;
    std::string hash;
    bool usable;
};
void PrintTo(const HashCase& c, std::ostream* os) {
    *os << c.name;
}

class PasswordHashForm : public testing::TestWithParam<HashCase> {};

TEST_P(PasswordHashForm, IsUsableOnlyAsAnAffordableArgon2idHash) {
    EXPECT_EQ(users::IsPasswordHash(GetParam().hash), GetParam().usable) << GetParam().hash;
}

// The salt and hash of a real one, behind other parameters.
const std::string kTail = kHash.substr(kHash.find("p=1$"));

INSTANTIATE_TEST_SUITE_P(
    Hashes, PasswordHashForm,
    testing::Values(HashCase{"Cheap", kHash, true},
                    HashCase{"Interactive", "$argon2id$v=19$m=65536,t=2," + kTail, true},
                    HashCase{"Sensitive", "$argon2id$v=19$m=1048576,t=4," + kTail, true},
                    // Verifying these would hold the console for minutes or hours.
                    HashCase{"TooManyPasses", "$argon2id$v=19$m=65536,t=4294967295," + kTail,
                             false},
                    HashCase{"TooMuchMemory", "$argon2id$v=19$m=4194304,t=1," + kTail, false},
                    HashCase{"Argon2i", "$argon2i$v=19$m=65536,t=2," + kTail, false},
                    HashCase{"Truncated", kHash.substr(0, kHash.size() - 10), false},
                    HashCase{"Empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

// A scratch folder of its own for each test.
class UsersFileOnDisk : public testing::Test {
protected:
    UsersFileOnDisk() {
        std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : test) {
            if (c == '/') c = '_';
        }
        folder_ = fs::path(testing::TempDir()) /
                  ("users-file-" + std::to_string(::getpid()) + "-" + test);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::permissions(folder_, fs::perms(0755));
        path_ = (folder_ / "GrainTerminal.users").string();
    }
    ~UsersFileOnDisk() override { fs::remove_all(folder_); }

    void Write(const std::string& text, mode_t mode) {
        std::ofstream(path_, std::ios::binary) << text;
        ::chmod(path_.c_str(), mode);
    }

    fs::path folder_;
    std::string path_;
};

struct OnDisk {
    const char* name;
    std::string text;  // empty: no file
    mode_t mode;
    mode_t folderMode;
    UsersLoad::Status status;
    std::string error;  // after the path
};
void PrintTo(const OnDisk& c, std::ostream* os) {
    *os << c.name;
}

class UsersFileLoad : public UsersFileOnDisk, public testing::WithParamInterface<OnDisk> {};

TEST_P(UsersFileLoad, TellsOffLoadedOrWhyNotWithTheFile) {
    const OnDisk& c = GetParam();
    if (!c.text.empty()) Write(c.text, c.mode);
    ::chmod(folder_.c_str(), c.folderMode);
    const UsersLoad load = users::LoadUsers(path_);
    EXPECT_EQ(load.status, c.status);
    if (c.status == UsersLoad::Status::Failed) {
        std::string expected = path_ + c.error;
        if (expected.ends_with(' ')) expected += path_;  // the command that mends it
        EXPECT_EQ(load.error.Text(), expected);
    }
}

const std::string kOneUser = "IdleMinutes=0\nЗернов:оператор:" + kHash + "\n";
const std::string kChmod = "; оставьте права только владельцу: chmod 600 ";

INSTANTIATE_TEST_SUITE_P(
    Files, UsersFileLoad,
    testing::Values(
        OnDisk{"Missing", "", 0600, 0755, UsersLoad::Status::Off, ""},
        OnDisk{"OwnerOnly", kOneUser, 0600, 0755, UsersLoad::Status::Loaded, ""},
        OnDisk{"ReadableByAll", kOneUser, 0644, 0755, UsersLoad::Status::Loaded, ""},
        OnDisk{"StickyFolderForAll", kOneUser, 0600, 01777, UsersLoad::Status::Loaded, ""},
        OnDisk{"WritableByGroup", kOneUser, 0620, 0755, UsersLoad::Status::Failed,
               ": файл могут изменить не только его владелец (права 620)" + kChmod},
        OnDisk{"WritableByOthers", kOneUser, 0602, 0755, UsersLoad::Status::Failed,
               ": файл могут изменить не только его владелец (права 602)" + kChmod},
        OnDisk{"FolderWritableByOthers", kOneUser, 0600, 0777, UsersLoad::Status::Failed,
               ": папку файла могут изменять все пользователи, и любой может подменить файл"},
        OnDisk{"CorruptLine", "IdleMinutes=0\nЗернов\n", 0600, 0755, UsersLoad::Status::Failed,
               ", строка 2: строка не похожа ни на пользователя (ИМЯ:РОЛЬ:ХЕШ), ни на "
               "настройку IdleMinutes=N"},
        OnDisk{"MissingRole", "Зернов:" + kHash + "\n", 0600, 0755, UsersLoad::Status::Failed,
               ", строка 1: не указана роль (ожидается ИМЯ:РОЛЬ:ХЕШ)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UsersFileOnDisk, FolderOrDanglingLinkIsNoMissingFile) {
    fs::create_directory(path_);
    EXPECT_EQ(users::LoadUsers(path_).error.Text(), path_ + ": это не обычный файл");
    fs::remove(path_);
    fs::create_symlink(folder_ / "nowhere", path_);
    EXPECT_EQ(users::LoadUsers(path_).error.Text(),
              path_ + ": не удалось прочитать файл (No such file or directory)");
}

TEST_F(UsersFileOnDisk, ChangeRefusesAFileOfAnotherUserAndLeavesItAlone) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file away";
    Write(kOneUser, 0600);
    ASSERT_EQ(::chown(path_.c_str(), 65534, 65534), 0);
    const auto refusal = users::ChangeUsers(path_, [](users::Users& list) {
        list.list.clear();
        return std::optional<std::string>();
    });
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->why, users::ChangeRefused::Why::NotOwner);
    struct stat info {};
    ASSERT_EQ(::stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(users::LoadUsers(path_).users.list.size(), 1u);
}

TEST_F(UsersFileOnDisk, ChangeWritesANewFileForItsOwnerOnlyAndReadsBackTheSame) {
    ::umask(022);
    const auto refusal = users::ChangeUsers(path_, [](users::Users& list) {
        list.idleMinutes = 30;
        list.list.push_back(users::User{"Ёлкин Ё.Ё.", Role::Engineer, kHash});
        return std::optional<std::string>();
    });
    ASSERT_FALSE(refusal.has_value());
    struct stat info {};
    ASSERT_EQ(::stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(::umask(022), 022u) << "the creation mask is given back";
    const UsersLoad load = users::LoadUsers(path_);
    ASSERT_EQ(load.status, UsersLoad::Status::Loaded) << load.error.Text();
    EXPECT_EQ(load.users.idleMinutes, 30);
    ASSERT_EQ(load.users.list.size(), 1u);
    EXPECT_EQ(load.users.list[0].name, "Ёлкин Ё.Ё.");
    EXPECT_FALSE(fs::exists(path_ + ".lock"));
}

}  // namespace
