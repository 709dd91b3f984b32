#include "app/UsersCommand.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>

#include "platform/core/TextEncoding.h"
#include "state/StateFile.h"
#include "users/Password.h"
#include "users/UsersFile.h"

namespace users {

namespace {

constexpr int kDone = 0;
constexpr int kFileProblem = 1;
constexpr int kBadArguments = 2;
constexpr int kInUse = 4;

constexpr const char* kUsage =
    "Использование: GrainTerminal --users add ИМЯ РОЛЬ | passwd ИМЯ | remove ИМЯ | list | "
    "idle [МИНУТЫ]\n"
    "Роли: наблюдатель, оператор, инженер. Пароль читается с терминала без эха\n"
    "(дважды) или одной строкой со стандартного ввода.\n";

int Refuse(const std::string& why, int status) {
    std::cerr << "GrainTerminal --users: " << why << std::endl;
    return status;
}

std::string Quoted(const std::string& name) {
    return "«" + name + "»";
}

// The terminal's settings while a password is typed, restored on every way
// out, a signal included: a shell left without echo is no use to anybody.
termios savedTerminal;
volatile sig_atomic_t terminalChanged = 0;
// A stop (Ctrl+Z) is left to the shell, which keeps each job's terminal settings.
constexpr int kRestoredSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void RestoreAndRaise(int number) {
    if (terminalChanged) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
    ::signal(number, SIG_DFL);
    ::raise(number);
}

class EchoOff {
public:
    EchoOff() {
        if (::tcgetattr(STDIN_FILENO, &savedTerminal) != 0) return;
        struct sigaction action {};
        action.sa_handler = RestoreAndRaise;
        for (std::size_t i = 0; i < std::size(kRestoredSignals); ++i) {
            ::sigaction(kRestoredSignals[i], &action, &previous_[i]);
            // A signal the caller ignores (nohup) stays ignored.
            if (previous_[i].sa_handler == SIG_IGN) {
                ::sigaction(kRestoredSignals[i], &previous_[i], nullptr);
            }
        }
        termios quiet = savedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;  // the Enter still moves to the next line
        terminalChanged = ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        changed_ = true;
    }
    ~EchoOff() {
        if (!changed_) return;
        if (terminalChanged) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
        terminalChanged = 0;
        for (std::size_t i = 0; i < std::size(kRestoredSignals); ++i) {
            ::sigaction(kRestoredSignals[i], &previous_[i], nullptr);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool changed_ = false;
    struct sigaction previous_[std::size(kRestoredSignals)]{};
};

// One line from standard input into `password`, read byte by byte so that no
// stream buffer keeps a copy. False when the input ended before any byte.
bool ReadLine(Password& password, bool& tooLong) {
    bool any = false;
    for (;;) {
        char c = 0;
        const ssize_t got = ::read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        any = true;
        if (c == '\n') break;
        if (!password.Append(c)) tooLong = true;
        c = '\0';
    }
    if (password.View().ends_with('\r')) password.DropLast();
    return any;
}

// Why a typed password cannot be used, or nothing.
std::optional<std::string> PasswordProblem(const Password& password, bool tooLong) {
    if (tooLong) {
        return "пароль длиннее " + std::to_string(Password::kMaxBytes) + " байт; он не принят";
    }
    if (password.Empty()) return std::string("пустой пароль не принят");
    if (!platform::IsValidUtf8(password.View())) {
        return std::string("пароль не в кодировке UTF-8; он не принят");
    }
    return std::nullopt;
}

// The new password of `name`, hashed; on failure the message is printed and
// the exit status returned.
std::optional<std::string> NewPasswordHash(const std::string& name, int& status) {
    status = kBadArguments;
    Password password;
    bool tooLong = false;
    if (::isatty(STDIN_FILENO)) {
        Password again;
        bool againTooLong = false;
        {
            const EchoOff quiet;
            std::cerr << "Пароль пользователя " << Quoted(name) << ": " << std::flush;
            ReadLine(password, tooLong);
            if (!PasswordProblem(password, tooLong)) {
                std::cerr << "Повторите пароль: " << std::flush;
                ReadLine(again, againTooLong);
            }
        }
        if (const std::optional<std::string> problem = PasswordProblem(password, tooLong)) {
            Refuse(*problem, status);
            return std::nullopt;
        }
        if (again.View() != password.View()) {
            Refuse("пароли не совпали; ничего не изменено", status);
            return std::nullopt;
        }
    } else {
        if (!ReadLine(password, tooLong)) {
            Refuse("на стандартном вводе нет пароля", status);
            return std::nullopt;
        }
        if (const std::optional<std::string> problem = PasswordProblem(password, tooLong)) {
            Refuse(*problem, status);
            return std::nullopt;
        }
    }
    std::optional<std::string> hash = HashPassword(password);
    if (!hash) {
        status = kFileProblem;
        Refuse("не хватило памяти, чтобы сделать хеш пароля", status);
    }
    return hash;
}

int Refused(const ChangeRefused& refusal, const std::string& path) {
    switch (refusal.why) {
        case ChangeRefused::Why::Refused:
            return Refuse(refusal.text, kBadArguments);
        case ChangeRefused::Why::Unreadable:
            return Refuse(refusal.text, kFileProblem);
        case ChangeRefused::Why::InUse:
            return Refuse("файл " + path + " сейчас меняет другая программа; повторите позже",
                          kInUse);
        case ChangeRefused::Why::NotOwner:
            return Refuse("файл " + path + " принадлежит пользователю " + refusal.text +
                              "; меняйте его от имени этого пользователя",
                          kFileProblem);
        case ChangeRefused::Why::NotWritten:
            break;
    }
    return Refuse("не удалось записать " + path + "; ничего не изменено", kFileProblem);
}

std::string Missing(const std::string& name, const std::string& path) {
    return "пользователя " + Quoted(name) + " нет в " + path;
}

// The users as they are now, to refuse a change before a password is asked
// for; nothing (and the refusal printed) when the file cannot be used.
std::optional<Users> CurrentUsers(const std::string& path, int& status) {
    UsersLoad load = LoadUsers(path);
    if (load.status == UsersLoad::Status::Failed) {
        status = Refuse(load.error.Text(), kFileProblem);
        return std::nullopt;
    }
    return std::move(load.users);
}

int Add(const std::string& name, const std::string& roleName, const std::string& path) {
    if (const std::optional<std::string> problem = UserNameProblem(name)) {
        return Refuse("недопустимое имя " + Quoted(name) + ": " + *problem, kBadArguments);
    }
    const std::optional<Role> role = RoleNamed(roleName);
    if (!role) {
        return Refuse(
            "неизвестная роль " + Quoted(roleName) + "; допустимы: наблюдатель, оператор, инженер",
            kBadArguments);
    }
    const std::string already = "пользователь " + Quoted(name) + " уже есть в " + path;
    int status = kDone;
    const std::optional<Users> now = CurrentUsers(path, status);
    if (!now) return status;
    if (now->Find(name) != nullptr) return Refuse(already, kBadArguments);
    const std::optional<std::string> hash = NewPasswordHash(name, status);
    if (!hash) return status;
    const auto refusal = ChangeUsers(path, [&](Users& list) -> std::optional<std::string> {
        if (list.Find(name) != nullptr) return already;
        list.list.push_back(User{name, *role, *hash});
        return std::nullopt;
    });
    if (refusal) return Refused(*refusal, path);
    std::cout << "Пользователь " << Quoted(name) << " (" << RoleName(*role) << ") добавлен в "
              << path << std::endl;
    return kDone;
}

int ChangePassword(const std::string& name, const std::string& path) {
    int status = kDone;
    const std::optional<Users> now = CurrentUsers(path, status);
    if (!now) return status;
    if (now->Find(name) == nullptr) return Refuse(Missing(name, path), kBadArguments);
    const std::optional<std::string> hash = NewPasswordHash(name, status);
    if (!hash) return status;
    const auto refusal = ChangeUsers(path, [&](Users& list) -> std::optional<std::string> {
        User* user = list.Find(name);
        if (user == nullptr) return Missing(name, path);
        user->hash = *hash;
        return std::nullopt;
    });
    if (refusal) return Refused(*refusal, path);
    std::cout << "Пароль пользователя " << Quoted(name) << " изменён" << std::endl;
    return kDone;
}

int Remove(const std::string& name, const std::string& path) {
    bool noneLeft = false;
    const auto refusal = ChangeUsers(path, [&](Users& list) -> std::optional<std::string> {
        const auto erased =
            std::erase_if(list.list, [&](const User& user) { return user.name == name; });
        if (erased == 0) return Missing(name, path);
        noneLeft = list.list.empty();
        return std::nullopt;
    });
    if (refusal) return Refused(*refusal, path);
    std::cout << "Пользователь " << Quoted(name) << " удалён" << std::endl;
    if (noneLeft) {
        std::cerr << "В файле не осталось пользователей: войти в пульт никто не сможет.\n"
                     "Чтобы выключить регистрацию, удалите файл "
                  << path << std::endl;
    }
    return kDone;
}

int List(const std::string& path) {
    const UsersLoad load = LoadUsers(path);
    switch (load.status) {
        case UsersLoad::Status::Off:
            std::cerr << "Файла пользователей " << path << " нет: регистрация выключена"
                      << std::endl;
            return kDone;
        case UsersLoad::Status::Failed:
            return Refuse(load.error.Text(), kFileProblem);
        case UsersLoad::Status::Loaded:
            break;
    }
    for (const User& user : load.users.list) {
        std::cout << user.name << '\t' << RoleName(user.role) << '\n';
    }
    std::cout << std::flush;
    return kDone;
}

int Idle(const std::vector<std::string>& arguments, const std::string& path) {
    if (arguments.size() == 1) {
        int status = kDone;
        const std::optional<Users> now = CurrentUsers(path, status);
        if (!now) return status;
        std::cout << "IdleMinutes=" << now->idleMinutes << std::endl;
        return kDone;
    }
    const std::string& text = arguments[1];
    int minutes = -1;
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos ||
        (minutes = std::stoi(text)) > Users::kMostIdleMinutes) {
        return Refuse("ожидается число минут от 0 (не выходить) до " +
                          std::to_string(Users::kMostIdleMinutes) + ", а не " + Quoted(text),
                      kBadArguments);
    }
    const auto refusal = ChangeUsers(path, [&](Users& list) -> std::optional<std::string> {
        // A new file without users would switch registration on for nobody.
        if (list.list.empty()) {
            return "в файле " + path +
                   " нет пользователей; сначала добавьте их: GrainTerminal --users add ИМЯ РОЛЬ";
        }
        list.idleMinutes = minutes;
        return std::nullopt;
    });
    if (refusal) return Refused(*refusal, path);
    std::cout << "IdleMinutes=" << minutes << std::endl;
    return kDone;
}

}  // namespace

int RunUsersCommand(const std::vector<std::string>& arguments, const std::string& usersPath) {
    const std::string command = arguments.empty() ? "" : arguments[0];
    const std::size_t count = arguments.size();
    if (command == "add" && count == 3) return Add(arguments[1], arguments[2], usersPath);
    if (command == "passwd" && count == 2) return ChangePassword(arguments[1], usersPath);
    if (command == "remove" && count == 2) return Remove(arguments[1], usersPath);
    if (command == "list" && count == 1) return List(usersPath);
    if (command == "idle" && (count == 1 || count == 2)) return Idle(arguments, usersPath);
    if ((command == "help" || command == "--help") && count == 1) {
        std::cout << kUsage;
        return kDone;
    }
    std::cerr << kUsage;
    return kBadArguments;
}

std::string OwnUsersFilePath(const char* argv0) {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) executable = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", error);
    return UsersFilePath(state::StateFilePath(executable.string()));
}

}  // namespace users
