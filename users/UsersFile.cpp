#include "users/UsersFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "platform/core/AtomicFile.h"
#include "platform/core/LockFile.h"
#include "platform/core/TextEncoding.h"
#include "users/Password.h"

namespace users {

namespace {

constexpr std::string_view kIdleKey = "IdleMinutes";
constexpr std::string_view kLineForm = " (ожидается ИМЯ:РОЛЬ:ХЕШ)";
constexpr std::size_t kShownLimit = 40;

// Decodes one character of well-formed UTF-8 at `at`, moving past it.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) return lead;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3F >> more);
    for (int i = 0; i < more; ++i) c = (c << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    return c;
}

bool IsLatinLetter(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}
bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}
// The Cyrillic block without its signs and combining marks (U+0482–U+0489).
bool IsCyrillicLetter(char32_t c) {
    return (c >= 0x0400 && c <= 0x0481) || (c >= 0x048A && c <= 0x04FF);
}
bool IsLetterOrDigit(char32_t c) {
    return IsLatinLetter(c) || IsDigit(c) || IsCyrillicLetter(c);
}
bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// A piece of the file's text fit to quote in a message: at most kShownLimit
// characters, and no control characters that would break the message's lines.
std::string Shown(std::string_view text) {
    if (!platform::IsValidUtf8(text)) return "«…»";
    std::string shown = "«";
    std::size_t at = 0;
    std::size_t count = 0;
    while (at < text.size() && count < kShownLimit) {
        const std::size_t start = at;
        const char32_t c = NextCharacter(text, at);
        if (IsControl(c)) {
            shown += "?";
        } else {
            shown.append(text.substr(start, at - start));
        }
        ++count;
    }
    if (at < text.size()) shown += "…";
    return shown + "»";
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view Trim(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    const std::size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

bool SameAsciiWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::vector<std::string_view> Split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t at = line.find(separator);
        fields.push_back(line.substr(0, at));
        if (at == std::string_view::npos) return fields;
        line.remove_prefix(at + 1);
    }
}

// Reads the file's lines one by one into the users.
class Parser {
public:
    std::optional<std::string> Line(std::string_view line, int number) {
        if (line.size() > kLineLimit) {
            return "строка длиннее " + std::to_string(kLineLimit) + " байт";
        }
        if (!platform::IsValidUtf8(line)) return std::string("текст не в кодировке UTF-8");
        if (IsBlankLine(line) || Trim(line).front() == '#') return std::nullopt;
        if (line.find(':') != std::string_view::npos) return UserLine(line, number);
        if (line.find('=') != std::string_view::npos) return Setting(line);
        return "строка не похожа ни на пользователя (ИМЯ:РОЛЬ:ХЕШ), ни на настройку " +
               std::string(kIdleKey) + "=N";
    }

    Users Take() { return std::move(users_); }

private:
    std::optional<std::string> UserLine(std::string_view line, int number) {
        const std::vector<std::string_view> fields = Split(line, ':');
        if (fields.size() > 3) return "лишнее двоеточие" + std::string(kLineForm);
        if (fields.size() == 2) {
            return fields[1].starts_with('$') ? "не указана роль" + std::string(kLineForm)
                                              : "не указан хеш пароля" + std::string(kLineForm);
        }
        const std::string_view name = fields[0];
        const std::string_view role = fields[1];
        const std::string_view hash = fields[2];
        if (const std::optional<std::string> problem = UserNameProblem(name)) {
            return "имя пользователя " + Shown(name) + ": " + *problem;
        }
        if (role.empty()) return "не указана роль пользователя " + Shown(name);
        const std::optional<Role> known = RoleNamed(role);
        if (!known) {
            return "неизвестная роль " + Shown(role) +
                   " (допустимы: наблюдатель, оператор, инженер)";
        }
        if (hash.empty()) return "не указан хеш пароля пользователя " + Shown(name);
        if (!IsPasswordHash(hash)) {
            return "хеш пароля пользователя " + Shown(name) + " не в формате argon2id";
        }
        for (std::size_t i = 0; i < users_.list.size(); ++i) {
            if (users_.list[i].name == name) {
                return "пользователь " + Shown(name) + " уже записан в строке " +
                       std::to_string(userLines_[i]);
            }
        }
        users_.list.push_back(User{std::string(name), *known, std::string(hash)});
        userLines_.push_back(number);
        return std::nullopt;
    }

    std::optional<std::string> Setting(std::string_view line) {
        const std::size_t equals = line.find('=');
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (!SameAsciiWord(key, kIdleKey)) return "неизвестная настройка " + Shown(key);
        if (idleSeen_) return "настройка " + std::string(kIdleKey) + " повторяется";
        idleSeen_ = true;
        int minutes = -1;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), minutes);
        if (value.empty() || error != std::errc() || end != value.data() + value.size() ||
            minutes < 0 || minutes > Users::kMostIdleMinutes) {
            return std::string(kIdleKey) + ": ожидается число минут от 0 до " +
                   std::to_string(Users::kMostIdleMinutes) + ", а не " + Shown(value);
        }
        users_.idleMinutes = minutes;
        return std::nullopt;
    }

    Users users_;
    std::vector<int> userLines_;
    bool idleSeen_ = false;
};

UsersError Failure(const std::string& path, std::string reason) {
    return UsersError{path, 0, std::move(reason)};
}

std::string SystemReason(int error) {
    return std::strerror(error);
}

// Why the file behind `fd` may not be trusted, or nothing.
std::optional<std::string> UnsafeBecause(int fd, const std::string& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return "не удалось прочитать файл (" + SystemReason(errno) + ")";
    if (!S_ISREG(info.st_mode)) return std::string("это не обычный файл");
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%03o", static_cast<unsigned>(info.st_mode & 0777));
        return "файл могут изменить не только его владелец (права " + std::string(mode) +
               "); оставьте права только владельцу: chmod 600 " + path;
    }
    if (info.st_size > static_cast<off_t>(kFileLimit)) {
        return "файл длиннее " + std::to_string(kFileLimit / 1024) + " КиБ";
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    struct stat folderInfo {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &folderInfo) == 0 &&
        (folderInfo.st_mode & S_IWOTH) != 0 && (folderInfo.st_mode & S_ISVTX) == 0) {
        return "папку файла могут изменять все пользователи, и любой может подменить файл";
    }
    return std::nullopt;
}

// The whole content behind `fd`, at most one byte past kFileLimit.
std::optional<std::string> ReadAll(int fd) {
    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return text;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > kFileLimit) return text;
    }
}

// Sets the process's file-creation mask for its own life.
class CreationMask {
public:
    explicit CreationMask(mode_t mask) : old_(::umask(mask)) {}
    ~CreationMask() { ::umask(old_); }
    CreationMask(const CreationMask&) = delete;
    CreationMask& operator=(const CreationMask&) = delete;

private:
    mode_t old_;
};

std::string OwnerName(uid_t uid) {
    if (const passwd* entry = ::getpwuid(uid)) return entry->pw_name;
    return "uid " + std::to_string(uid);
}

}  // namespace

const User* Users::Find(std::string_view name) const {
    for (const User& user : list) {
        if (user.name == name) return &user;
    }
    return nullptr;
}

User* Users::Find(std::string_view name) {
    return const_cast<User*>(std::as_const(*this).Find(name));
}

std::optional<std::string> UserNameProblem(std::string_view name) {
    if (name.empty()) return std::string("пустое имя");
    if (!platform::IsValidUtf8(name)) return std::string("имя не в кодировке UTF-8");
    std::size_t at = 0;
    std::size_t count = 0;
    char32_t previous = 0;
    while (at < name.size()) {
        const std::size_t start = at;
        const char32_t c = NextCharacter(name, at);
        const bool allowed = IsLetterOrDigit(c) || c == U' ' || c == U'.' || c == U'-' || c == U'_';
        if (!allowed) {
            return "недопустимый знак " +
                   (IsControl(c) ? std::string("(управляющий)")
                                 : "«" + std::string(name.substr(start, at - start)) + "»") +
                   "; допустимы буквы, цифры, пробел, точка, дефис и подчёркивание";
        }
        if (count == 0 && !IsLetterOrDigit(c)) {
            return std::string("имя должно начинаться с буквы или цифры");
        }
        if (c == U' ' && previous == U' ') return std::string("два пробела подряд");
        previous = c;
        ++count;
    }
    if (count > kNameLimit) return "имя длиннее " + std::to_string(kNameLimit) + " знаков";
    if (previous == U' ') return std::string("имя кончается пробелом");
    return std::nullopt;
}

std::string UsersError::Text() const {
    std::string text = path;
    if (line > 0) text += (text.empty() ? "строка " : ", строка ") + std::to_string(line);
    return text + (text.empty() ? "" : ": ") + reason;
}

std::variant<Users, UsersError> ParseUsers(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    Parser parser;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        ++number;
        if (std::optional<std::string> problem = parser.Line(line, number)) {
            return UsersError{"", number, std::move(*problem)};
        }
    }
    return parser.Take();
}

std::string FormatUsers(const Users& users) {
    std::string text =
        "# Пользователи пульта: ИМЯ:РОЛЬ:ХЕШ, по одному в строке.\n"
        "# Файл меняет команда GrainTerminal --users (add, passwd, remove, list, idle).\n";
    text += std::string(kIdleKey) + "=" + std::to_string(users.idleMinutes) + "\n";
    for (const User& user : users.list) {
        text += user.name + ":" + std::string(RoleName(user.role)) + ":" + user.hash + "\n";
    }
    return text;
}

std::string UsersFilePath(const std::string& statePath) {
    return std::filesystem::path(statePath).replace_extension(".users").string();
}

UsersLoad LoadUsers(const std::string& path) {
    UsersLoad load;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        struct stat link {};
        // A link that leads nowhere was set up by someone: not the same as no file.
        if (error == ENOENT && ::lstat(path.c_str(), &link) != 0) return load;
        load.status = UsersLoad::Status::Failed;
        load.error = Failure(path, "не удалось прочитать файл (" + SystemReason(error) + ")");
        return load;
    }
    std::optional<std::string> problem = UnsafeBecause(fd, path);
    std::optional<std::string> text;
    if (!problem) {
        text = ReadAll(fd);
        if (!text) {
            problem = "не удалось прочитать файл (" + SystemReason(errno) + ")";
        } else if (text->size() > kFileLimit) {
            problem = "файл длиннее " + std::to_string(kFileLimit / 1024) + " КиБ";
        }
    }
    ::close(fd);
    if (problem) {
        load.status = UsersLoad::Status::Failed;
        load.error = Failure(path, std::move(*problem));
        return load;
    }
    std::variant<Users, UsersError> parsed = ParseUsers(*text);
    if (UsersError* error = std::get_if<UsersError>(&parsed)) {
        load.status = UsersLoad::Status::Failed;
        load.error = std::move(*error);
        load.error.path = path;
        return load;
    }
    load.status = UsersLoad::Status::Loaded;
    load.users = std::move(std::get<Users>(parsed));
    return load;
}

std::optional<ChangeRefused> ChangeUsers(
    const std::string& path, const std::function<std::optional<std::string>(Users&)>& change) {
    // A folder that cannot hold the lock file cannot take the users file either:
    // the write below says so.
    platform::LockFile lock(path + ".lock");
    if (lock.TryLock() == platform::LockFile::Result::HeldElsewhere) {
        return ChangeRefused{ChangeRefused::Why::InUse, ""};
    }
    UsersLoad load = LoadUsers(path);
    if (load.status == UsersLoad::Status::Failed) {
        return ChangeRefused{ChangeRefused::Why::Unreadable, load.error.Text()};
    }
    // A file replaced by another user would change hands, and the console
    // running as its owner could no longer read it.
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && info.st_uid != ::geteuid()) {
        return ChangeRefused{ChangeRefused::Why::NotOwner, OwnerName(info.st_uid)};
    }
    if (std::optional<std::string> refusal = change(load.users)) {
        return ChangeRefused{ChangeRefused::Why::Refused, std::move(*refusal)};
    }
    // The hashes are for the owner's eyes only: the replacement is made with
    // mode 0600, which the atomic write takes over from the file it replaces.
    if (exists && (info.st_mode & 07777) != 0600 && ::chmod(path.c_str(), 0600) != 0) {
        return ChangeRefused{ChangeRefused::Why::NotWritten, ""};
    }
    const CreationMask ownerOnly(077);
    if (!platform::WriteWholeFile(path, FormatUsers(load.users))) {
        return ChangeRefused{ChangeRefused::Why::NotWritten, ""};
    }
    return std::nullopt;
}

}  // namespace users
