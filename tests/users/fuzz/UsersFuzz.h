#pragma once

// Random and mutated users files for the parser, shared by the short fuzz test
// and the standalone long run. Deterministic for a given seed.

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "platform/core/TextEncoding.h"
#include "users/Password.h"
#include "users/UsersFile.h"

namespace usersfuzz {

// Two real hashes (of the least work) and pieces of hashes.
inline constexpr std::array<const char*, 2> kHashes = {
    "$argon2id$v=19$m=8,t=1,p=1$PpdnAVRR0YxWtErzd4IRLw$0Yc3MZMwse6NFNHyB3W2Gq1oKkmBCXWJeZCEHYxXbTc",
    "$argon2id$v=19$m=65536,t=2,p=1$R4lXM7yK/M9eQv0wqm1MGA$v4jwxJOsigTjccgnPfcYaSKpQvuJdbhnNEx+o/"
    "t73No",
};

class FileGenerator {
public:
    explicit FileGenerator(uint32_t seed) : random_(seed) {}

    // The next file: random bytes, random lines of users and settings, or a
    // mutated valid file, in turn.
    std::string Next() {
        switch (count_++ % 3) {
            case 0:
                return RandomBytes();
            case 1:
                return RandomLines();
            default:
                return Mutated(ValidFile());
        }
    }

private:
    std::size_t Below(std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }
    bool OneIn(std::size_t n) { return Below(n) == 0; }

    template <std::size_t N>
    const char* Pick(const std::array<const char*, N>& items) {
        return items[Below(N)];
    }

    std::string RandomBytes() {
        static constexpr std::array<const char*, 16> kPieces = {
            ":",          "=",     "\n",           "\r\n",        "#",
            "$argon2id$", "v=19$", "m=8,t=1,p=1$", "оператор",    " ",
            "\t",         "\xD0",  "\xEF\xBB\xBF", "IdleMinutes", "Зернов",
            "\0"};
        std::string text;
        const std::size_t length = Below(200);
        for (std::size_t i = 0; i < length; ++i) {
            if (OneIn(3)) {
                const char* piece = Pick(kPieces);
                text += *piece == '\0' ? std::string(1, '\0') : std::string(piece);
            } else {
                text += static_cast<char>(Below(256));
            }
        }
        return text;
    }

    std::string Name() {
        static constexpr std::array<const char*, 12> kNames = {
            "Зернов",  "Петров Иван",  "smith_j.", "Ёлкин Ё.Ё.", "",         " Зернов",
            "Зернов ", "Иван  Петров", "-x",       "Зер\x1bнов", "\xC7\xE5", "Я"};
        if (OneIn(6)) {
            std::string longName;
            for (std::size_t i = 0, n = 28 + Below(8); i < n; ++i) longName += "Я";
            return longName;
        }
        return Pick(kNames);
    }

    std::string Role() {
        static constexpr std::array<const char*, 6> kRoles = {
            "наблюдатель", "оператор", "инженер", "", "Оператор", "admin"};
        return Pick(kRoles);
    }

    std::string Hash() {
        std::string hash = Pick(kHashes);
        switch (Below(5)) {
            case 0:
                hash.resize(Below(hash.size()));
                break;
            case 1:
                hash.replace(hash.find("m="), 2, "m=9" + std::to_string(Below(100000)));
                break;
            case 2:
                hash.replace(hash.find("t="), 2, "t=" + std::to_string(random_()));
                break;
            default:
                break;
        }
        return hash;
    }

    std::string Setting() {
        static constexpr std::array<const char*, 8> kValues = {
            "0", "15", "1440", "1441", "-1", "", "99999999999999999999", "0x10"};
        const std::string key = OneIn(4) ? "idleminutes" : OneIn(6) ? "Allow" : "IdleMinutes";
        return key + (OneIn(3) ? " = " : "=") + Pick(kValues);
    }

    std::string RandomLines() {
        std::string text;
        const std::size_t lines = Below(12);
        for (std::size_t i = 0; i < lines; ++i) {
            switch (Below(6)) {
                case 0:
                    text += Setting();
                    break;
                case 1:
                    text += "# " + Name();
                    break;
                case 2:
                    text += Name() + ":" + Hash();
                    break;
                default:
                    text += Name() + ":" + Role() + ":" + Hash();
                    break;
            }
            text += OneIn(5) ? "\r\n" : "\n";
        }
        return text;
    }

    std::string ValidFile() {
        users::Users valid;
        valid.idleMinutes = static_cast<int>(Below(1441));
        const std::array<const char*, 4> names = {"Зернов", "Петров Иван", "smith_j.", "Ёлкин"};
        for (std::size_t i = 0, n = Below(5); i < n; ++i) {
            valid.list.push_back(
                users::User{names[i], static_cast<users::Role>(Below(3)), Pick(kHashes)});
        }
        return users::FormatUsers(valid);
    }

    std::string Mutated(std::string text) {
        const std::size_t edits = 1 + Below(6);
        for (std::size_t e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = Below(text.size());
            switch (Below(5)) {
                case 0:
                    text[at] = static_cast<char>(Below(256));
                    break;
                case 1:
                    text.erase(at, Below(20));
                    break;
                case 2:
                    text.insert(at, 1, ":=\n#$ \r"[Below(7)]);
                    break;
                case 3:
                    text.insert(at, text.substr(Below(text.size()), Below(80)));
                    break;
                default:
                    text.resize(at);
                    break;
            }
        }
        return text;
    }

    std::mt19937 random_;
    uint64_t count_ = 0;
};

inline bool HasControlCharacters(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    }
    return false;
}

// Empty when the parser's answer to `bytes` is sound: a read file holds only
// usable users and reads back the same after it is written out; a refusal
// names a line of the file and says why in one line of UTF-8.
inline std::string CheckParse(const std::string& bytes) {
    std::ostringstream problems;
    const auto parsed = users::ParseUsers(bytes);
    if (const auto* error = std::get_if<users::UsersError>(&parsed)) {
        const std::size_t lines =
            static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
        if (error->line < 1 || static_cast<std::size_t>(error->line) > lines) {
            problems << "line " << error->line << " of " << lines << "; ";
        }
        if (error->reason.empty() || !platform::IsValidUtf8(error->reason) ||
            HasControlCharacters(error->reason)) {
            problems << "reason \"" << error->reason << "\"; ";
        }
        return problems.str();
    }
    const users::Users& read = std::get<users::Users>(parsed);
    if (read.idleMinutes < 0 || read.idleMinutes > users::Users::kMostIdleMinutes) {
        problems << "idle " << read.idleMinutes << "; ";
    }
    for (std::size_t i = 0; i < read.list.size(); ++i) {
        const users::User& user = read.list[i];
        if (!users::IsValidUserName(user.name)) problems << "name " << user.name << "; ";
        if (users::RoleName(user.role).empty()) problems << "role of " << user.name << "; ";
        if (!users::IsPasswordHash(user.hash)) problems << "hash of " << user.name << "; ";
        for (std::size_t j = 0; j < i; ++j) {
            if (read.list[j].name == user.name) problems << "twice " << user.name << "; ";
        }
    }
    const auto again = users::ParseUsers(users::FormatUsers(read));
    const auto* reread = std::get_if<users::Users>(&again);
    if (reread == nullptr) return problems.str() + "written file refused; ";
    if (reread->idleMinutes != read.idleMinutes || reread->list.size() != read.list.size()) {
        problems << "written file differs; ";
    } else {
        for (std::size_t i = 0; i < read.list.size(); ++i) {
            const users::User& a = read.list[i];
            const users::User& b = reread->list[i];
            if (a.name != b.name || a.role != b.role || a.hash != b.hash) {
                problems << "user " << i << " differs; ";
            }
        }
    }
    return problems.str();
}

}  // namespace usersfuzz
