#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/LockFile.h"
#include "tests/users/CheapHash.h"
#include "users/Password.h"
#include "users/UsersFile.h"

// Runs "GrainTerminal --users …" as a process beside a users file in a scratch
// folder, with no display and a platform plugin that does not exist: the
// command must not start the toolkit.

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 30000;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// This process's environment without a display, and a plugin that fails.
std::vector<std::string> HeadlessEnvironment() {
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.starts_with("DISPLAY=") || entry.starts_with("WAYLAND_DISPLAY=") ||
            entry.starts_with("QT_QPA_PLATFORM=")) {
            continue;
        }
        entries.push_back(entry);
    }
    entries.push_back("QT_QPA_PLATFORM=no-such-plugin");
    return entries;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class UsersCommand : public testing::Test {
protected:
    UsersCommand() {
        std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : test) {
            if (c == '/') c = '_';
        }
        folder_ = fs::path(testing::TempDir()) /
                  ("users-command-" + std::to_string(::getpid()) + "-" + test);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::permissions(folder_, fs::perms(0755));
        // The users file lies beside the executable, so the program runs from here.
        program_ = folder_ / "GrainTerminal";
        std::error_code error;
        fs::create_hard_link(GRAIN_TERMINAL, program_, error);
        if (error) fs::copy_file(GRAIN_TERMINAL, program_);
        users_ = folder_ / "GrainTerminal.users";
    }
    ~UsersCommand() override { fs::remove_all(folder_); }

    // Runs the command with `input` on its standard input.
    Outcome Command(const std::vector<std::string>& arguments, const std::string& input = "") {
        const fs::path in = folder_ / "stdin", out = folder_ / "stdout", err = folder_ / "stderr";
        std::ofstream(in, std::ios::binary) << input;
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        ::posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                           0600);
        ::posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                           0600);
        const pid_t pid = Spawn(arguments, &actions);
        ::posix_spawn_file_actions_destroy(&actions);
        Outcome run{pid > 0 ? WaitForExit(pid) : -1, ReadFile(out), ReadFile(err)};
        fs::remove(in);
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    pid_t Spawn(const std::vector<std::string>& arguments,
                const posix_spawn_file_actions_t* actions) {
        std::vector<std::string> all = {program_.string(), "--users"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> environment = HeadlessEnvironment();
        std::vector<char*> envp;
        for (std::string& e : environment) envp.push_back(e.data());
        envp.push_back(nullptr);
        pid_t pid = -1;
        if (::posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0) {
            return -1;
        }
        return pid;
    }

    users::Users Read() {
        const users::UsersLoad load = users::LoadUsers(users_.string());
        EXPECT_EQ(load.status, users::UsersLoad::Status::Loaded) << load.error.Text();
        return load.users;
    }

    // Only the users file is left beside the program: no temporaries, no lock.
    void ExpectOnlyTheUsersFile() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"GrainTerminal", "GrainTerminal.users"}));
        EXPECT_EQ(ModeOf(users_), 0600u);
    }

    fs::path folder_, program_, users_;
};

bool Verifies(const users::User* user, const std::string& password) {
    return user != nullptr && users::VerifyPassword(user->hash, users::Password(password));
}

TEST_F(UsersCommand, AddPasswdRemoveAndListCyrillicUsers) {
    Outcome run = Command({"add", "Зернов", "оператор"}, "зерно-1\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Пользователь «Зернов» (оператор) добавлен в " + users_.string() + "\n");
    ExpectOnlyTheUsersFile();
    const std::string first = ReadFile(users_);
    EXPECT_TRUE(first.starts_with("# ")) << first;
    EXPECT_NE(first.find("\nIdleMinutes=0\nЗернов:оператор:$argon2id$v=19$m=65536,t=2,p=1$"),
              std::string::npos)
        << first;

    run = Command({"add", "Петров Иван", "инженер"}, "пароль инженера\r\n");
    EXPECT_EQ(run.status, 0) << run.err;
    run = Command({"list"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Зернов\tоператор\nПетров Иван\tинженер\n");

    users::Users before = Read();
    EXPECT_TRUE(Verifies(before.Find("Зернов"), "зерно-1"));
    EXPECT_TRUE(Verifies(before.Find("Петров Иван"), "пароль инженера"));

    run = Command({"passwd", "Зернов"}, "новый пароль");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Пароль пользователя «Зернов» изменён\n");
    ExpectOnlyTheUsersFile();
    users::Users after = Read();
    EXPECT_TRUE(Verifies(after.Find("Зернов"), "новый пароль"));
    EXPECT_FALSE(Verifies(after.Find("Зернов"), "зерно-1"));
    EXPECT_EQ(after.Find("Зернов")->role, users::Role::Operator);
    EXPECT_EQ(after.Find("Петров Иван")->hash, before.Find("Петров Иван")->hash);

    run = Command({"idle", "15"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Read().idleMinutes, 15);

    run = Command({"remove", "Зернов"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Пользователь «Зернов» удалён\n");
    EXPECT_EQ(Command({"list"}).out, "Петров Иван\tинженер\n");

    run = Command({"remove", "Петров Иван"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("войти в пульт никто не сможет"), std::string::npos) << run.err;
    ExpectOnlyTheUsersFile();
    EXPECT_TRUE(Read().list.empty());
}

struct Refusal {
    const char* name;
    std::vector<std::string> arguments;
    std::string input;
    std::string file;  // the users file before; empty: none
    mode_t mode;
    int status;
    std::string message;  // a part of standard error; "{file}" stands for the users file
    bool lockHeld = false;
};
void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.name;
}

class UsersCommandRefusal : public UsersCommand, public testing::WithParamInterface<Refusal> {};

TEST_P(UsersCommandRefusal, SaysWhyAndChangesNothing) {
    const Refusal& r = GetParam();
    if (!r.file.empty()) {
        std::ofstream(users_, std::ios::binary) << r.file;
        ::chmod(users_.c_str(), r.mode);
    }
    platform::LockFile lock(users_.string() + ".lock");
    if (r.lockHeld) {
        ASSERT_EQ(lock.TryLock(), platform::LockFile::Result::Locked);
    }

    const Outcome run = Command(r.arguments, r.input);
    EXPECT_EQ(run.status, r.status);
    std::string message = r.message;
    if (const std::size_t at = message.find("{file}"); at != std::string::npos) {
        message.replace(at, 6, users_.string());
    }
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    if (r.file.empty()) {
        EXPECT_FALSE(fs::exists(users_));
    } else {
        EXPECT_EQ(ReadFile(users_), r.file);
        EXPECT_EQ(ModeOf(users_), r.mode);
    }
}

const std::string kFile = "IdleMinutes=0\nЗернов:оператор:" + userstest::CheapHash("зерно") + "\n";
const std::string kUsage = "Использование: GrainTerminal --users add ИМЯ РОЛЬ";

INSTANTIATE_TEST_SUITE_P(
    Commands, UsersCommandRefusal,
    testing::Values(Refusal{"NoCommand", {}, "", "", 0, 2, kUsage},
                    Refusal{"UnknownCommand", {"delete", "Зернов"}, "", kFile, 0600, 2, kUsage},
                    Refusal{"AddWithoutRole", {"add", "Петров"}, "пароль\n", "", 0, 2, kUsage},
                    Refusal{"BadName",
                            {"add", "Пет:ров", "оператор"},
                            "пароль\n",
                            "",
                            0,
                            2,
                            "недопустимое имя «Пет:ров»: недопустимый знак «:»"},
                    Refusal{
                        "BadRole",
                        {"add", "Петров", "директор"},
                        "пароль\n",
                        kFile,
                        0600,
                        2,
                        "неизвестная роль «директор»; допустимы: наблюдатель, оператор, инженер"},
                    Refusal{"UserThere",
                            {"add", "Зернов", "инженер"},
                            "пароль\n",
                            kFile,
                            0600,
                            2,
                            "пользователь «Зернов» уже есть в {file}"},
                    Refusal{"PasswdOfNobody",
                            {"passwd", "Петров"},
                            "пароль\n",
                            kFile,
                            0600,
                            2,
                            "пользователя «Петров» нет в {file}"},
                    Refusal{"RemoveWithoutFile",
                            {"remove", "Петров"},
                            "",
                            "",
                            0,
                            2,
                            "пользователя «Петров» нет в {file}"},
                    Refusal{"EmptyPassword",
                            {"add", "Петров", "оператор"},
                            "\n",
                            kFile,
                            0600,
                            2,
                            "пустой пароль не принят"},
                    Refusal{"NoPassword",
                            {"passwd", "Зернов"},
                            "",
                            kFile,
                            0600,
                            2,
                            "на стандартном вводе нет пароля"},
                    Refusal{"PasswordNotUtf8",
                            {"passwd", "Зернов"},
                            "\xEF\xE0\xF0\xEE\xEB\xFC\n",
                            kFile,
                            0600,
                            2,
                            "пароль не в кодировке UTF-8"},
                    Refusal{"PasswordTooLong",
                            {"passwd", "Зернов"},
                            std::string(1025, 'x') + "\n",
                            kFile,
                            0600,
                            2,
                            "пароль длиннее 1024 байт"},
                    Refusal{"IdleWithoutUsers", {"idle", "5"}, "", "", 0, 2, "сначала добавьте их"},
                    Refusal{"IdleTooLong",
                            {"idle", "1441"},
                            "",
                            kFile,
                            0600,
                            2,
                            "ожидается число минут от 0 (не выходить) до 1440, а не «1441»"},
                    Refusal{"UnsafeFile",
                            {"add", "Петров", "оператор"},
                            "пароль\n",
                            kFile,
                            0664,
                            1,
                            "{file}: файл могут изменить не только его владелец (права 664)"},
                    Refusal{"UnsafeFileListed",
                            {"list"},
                            "",
                            kFile,
                            0646,
                            1,
                            "{file}: файл могут изменить не только его владелец (права 646)"},
                    Refusal{"CorruptFile",
                            {"passwd", "Зернов"},
                            "пароль\n",
                            kFile + "Петров\n",
                            0600,
                            1,
                            "{file}, строка 3: строка не похожа ни на пользователя"},
                    Refusal{"FileInUse",
                            {"remove", "Зернов"},
                            "",
                            kFile,
                            0600,
                            4,
                            "файл {file} сейчас меняет другая программа",
                            true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UsersCommand, ListWithoutAFileSaysRegistrationIsOff) {
    const Outcome run = Command({"list"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Файла пользователей " + users_.string() + " нет: регистрация выключена\n");
    EXPECT_FALSE(fs::exists(users_));
}

// A pseudo-terminal the command runs on, as an administrator's shell would.
class OnTerminal : public UsersCommand {
protected:
    OnTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) {
            terminal_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
        }
    }
    ~OnTerminal() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            WaitForExit(pid_);
        }
        if (terminal_ >= 0) ::close(terminal_);
        if (master_ >= 0) ::close(master_);
    }

    bool Start(const std::vector<std::string>& arguments) {
        if (terminal_ < 0) return false;
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        for (int fd = 0; fd <= 2; ++fd) ::posix_spawn_file_actions_adddup2(&actions, terminal_, fd);
        pid_ = Spawn(arguments, &actions);
        ::posix_spawn_file_actions_destroy(&actions);
        return pid_ > 0;
    }

    // Waits until the terminal shows `expected`, then types `line` and Enter.
    void TypeAfter(const std::string& expected, const std::string& line) {
        ReadUntil(expected);
        const std::string typed = line + "\n";
        ASSERT_EQ(::write(master_, typed.data(), typed.size()), ssize_t(typed.size()));
    }

    // Everything the terminal showed, read until `expected` appears or the
    // wait runs out.
    const std::string& ReadUntil(const std::string& expected) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
        while (shown_.find(expected) == std::string::npos &&
               std::chrono::steady_clock::now() < end) {
            pollfd ready{master_, POLLIN, 0};
            if (::poll(&ready, 1, 100) != 1) continue;
            char buffer[256];
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got <= 0) break;
            shown_.append(buffer, static_cast<std::size_t>(got));
        }
        return shown_;
    }

    int Exit() {
        const int status = WaitForExit(pid_);
        pid_ = -1;
        return status;
    }

    int master_ = -1, terminal_ = -1;
    pid_t pid_ = -1;
    std::string shown_;
};

TEST_F(OnTerminal, PasswordIsAskedTwiceWithoutEchoAndEchoComesBack) {
    ASSERT_TRUE(Start({"add", "Орлова", "инженер"}));
    TypeAfter("Пароль пользователя «Орлова»: ", "тайна 7");
    TypeAfter("Повторите пароль: ", "тайна 7");
    EXPECT_EQ(Exit(), 0) << shown_;
    ReadUntil("добавлен");
    EXPECT_EQ(shown_.find("тайна"), std::string::npos) << shown_;
    EXPECT_NE(shown_.find("Пользователь «Орлова» (инженер) добавлен"), std::string::npos) << shown_;
    termios settings{};
    ASSERT_EQ(::tcgetattr(terminal_, &settings), 0);
    EXPECT_NE(settings.c_lflag & ECHO, 0u) << "the terminal echoes again";
    EXPECT_TRUE(Verifies(Read().Find("Орлова"), "тайна 7"));
}

TEST_F(OnTerminal, PasswordsThatDifferAreRefused) {
    ASSERT_TRUE(Start({"add", "Орлова", "инженер"}));
    TypeAfter("Пароль пользователя «Орлова»: ", "one");
    TypeAfter("Повторите пароль: ", "two");
    EXPECT_EQ(Exit(), 2);
    EXPECT_NE(ReadUntil("не совпали").find("пароли не совпали; ничего не изменено"),
              std::string::npos)
        << shown_;
    EXPECT_FALSE(fs::exists(users_));
}

TEST_F(OnTerminal, InterruptedPasswordLeavesTheTerminalEchoing) {
    ASSERT_TRUE(Start({"add", "Орлова", "инженер"}));
    ReadUntil("Пароль пользователя «Орлова»: ");
    ASSERT_EQ(::kill(pid_, SIGINT), 0);
    EXPECT_EQ(Exit(), 1000 + SIGINT);
    termios settings{};
    ASSERT_EQ(::tcgetattr(terminal_, &settings), 0);
    EXPECT_NE(settings.c_lflag & ECHO, 0u);
    EXPECT_FALSE(fs::exists(users_));
}

}  // namespace
