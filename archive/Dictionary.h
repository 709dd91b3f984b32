#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "archive/Sqlite.h"

namespace archive {

// A table of distinct strings (the entries' texts, their sources), each stored
// once and used by id. The ids of strings in use are kept in memory, so a
// repeated string costs no query. Each string remembers its last use to a
// day, so that retention can drop the ones no kept entry uses.
class Dictionary {
public:
    // `table` has the columns id, text, last_ms, and with `folded` also the
    // folded text the search looks in.
    Dictionary(Db& db, const std::string& table, bool folded, DbError& error);
    ~Dictionary();

    // The id of `text`, added when new; false on a failure of the file.
    bool Id(std::string_view text, int64_t utcMs, int64_t& id);
    // Drops what is remembered: after a rollback or a prune, ids may be stale.
    void Forget() { known_.clear(); }

private:
    struct Known {
        int64_t id;
        int64_t lastMs;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    Db& db_;
    bool folded_;
    std::unique_ptr<Statement> find_;
    std::unique_ptr<Statement> insert_;
    std::unique_ptr<Statement> touch_;
    std::unordered_map<std::string, Known, Hash, std::equal_to<>> known_;
};

}  // namespace archive
