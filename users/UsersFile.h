#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "users/Roles.h"

namespace users {

// The users file switches registration on. It lies beside the state file,
// under the state file's name with the extension ".users"
// (GrainTerminal.users), and is UTF-8 text, one entry a line:
//
//   # Пользователи пульта: ИМЯ:РОЛЬ:ХЕШ, по одному в строке.
//   IdleMinutes=15
//   Зернов:оператор:$argon2id$v=19$m=65536,t=2,p=1$…$…
//
// - "IdleMinutes=N": minutes without input after which the signed-in user is
//   signed out, 0 to 1440; 0 or no such line: never. The only setting.
// - "NAME:ROLE:HASH": a user. NAME follows IsValidUserName, ROLE is one of
//   "наблюдатель", "оператор", "инженер", HASH is the argon2id text form
//   (IsPasswordHash). Names are unique.
// - Blank lines and lines starting with "#" are ignored.
// Lines end in LF or CR LF and hold at most kLineLimit bytes; the file at most
// kFileLimit bytes. Anything else is an error that names the line: the file is
// read whole or not at all.

struct User {
    std::string name;
    Role role = Role::Observer;
    std::string hash;
};

struct Users {
    static constexpr int kMostIdleMinutes = 1440;

    int idleMinutes = 0;
    std::vector<User> list;

    const User* Find(std::string_view name) const;
    User* Find(std::string_view name);
};

inline constexpr std::size_t kLineLimit = 1024;
inline constexpr std::size_t kFileLimit = 1024 * 1024;
// Longest user name, in characters.
inline constexpr std::size_t kNameLimit = 32;

// Why a name cannot be a user's, or nothing when it can: 1 to kNameLimit
// characters of Latin or Cyrillic letters, digits, blanks, ".", "-" and "_",
// starting with a letter or digit, not ending in a blank, no two blanks in a row.
std::optional<std::string> UserNameProblem(std::string_view name);
inline bool IsValidUserName(std::string_view name) {
    return !UserNameProblem(name).has_value();
}

// What is wrong with a users file: the file, the line (0 for the whole file)
// and why.
struct UsersError {
    std::string path;
    int line = 0;
    std::string reason;

    // "<path>, строка <line>: <reason>", or "<path>: <reason>" for the whole file.
    std::string Text() const;
};

// The users file's text read into users; on failure the error's path is empty.
std::variant<Users, UsersError> ParseUsers(std::string_view text);
// The text of a users file that holds `users`.
std::string FormatUsers(const Users& users);

// The users file beside the state file at `statePath`.
std::string UsersFilePath(const std::string& statePath);

// What the console finds at start-up.
struct UsersLoad {
    enum class Status {
        Off,     // no users file: registration is off
        Loaded,  // `users` holds the file
        Failed,  // the file exists but is unsafe or cannot be read: nobody can sign in
    };
    Status status = Status::Off;
    Users users;
    UsersError error;  // when Failed
};

// Reads the users file at `path`. The file is unsafe, and not used, when it is
// no regular file, when its group or others may write it, or when its folder
// may be written by others without the sticky bit (anyone could replace it).
UsersLoad LoadUsers(const std::string& path);

// Changes the users file under its lock ("<path>.lock"): reads it (a missing
// file as one without users), lets `change` edit the users and writes them
// back in one step (platform::WriteWholeFile). A new file is made with mode
// 0600; an existing one keeps its mode and owner. `change` returns a refusal
// to leave the file as it is. Returns nothing when the file was written.
struct ChangeRefused {
    enum class Why {
        Refused,     // `change` refused; `text` says why
        Unreadable,  // the file is unsafe or cannot be read; `text` says why
        InUse,       // another program is changing the file
        NotOwner,    // the file belongs to another user; `text` names the owner
        NotWritten,  // the file could not be written
    };
    Why why;
    std::string text;
};
std::optional<ChangeRefused> ChangeUsers(
    const std::string& path, const std::function<std::optional<std::string>(Users&)>& change);

}  // namespace users
