#include "archive/Dictionary.h"

#include "archive/Fold.h"

namespace archive {

namespace {

constexpr int64_t kDayMs = 86'400'000;
// Beyond this many strings the memory starts afresh; the file still has them.
constexpr std::size_t kRemembered = 1 << 16;

}  // namespace

Dictionary::Dictionary(Db& db, const std::string& table, bool folded, DbError& error)
    : db_(db), folded_(folded) {
    find_ = std::make_unique<Statement>(db, "SELECT id, last_ms FROM " + table + " WHERE text = ?1",
                                        error);
    if (error) return;
    insert_ = std::make_unique<Statement>(
        db,
        folded ? "INSERT INTO " + table + "(text, folded, last_ms) VALUES (?1, ?2, ?3)"
               : "INSERT INTO " + table + "(text, last_ms) VALUES (?1, ?3)",
        error);
    if (error) return;
    touch_ = std::make_unique<Statement>(db, "UPDATE " + table + " SET last_ms = ?2 WHERE id = ?1",
                                         error);
}

Dictionary::~Dictionary() = default;

bool Dictionary::Id(std::string_view text, int64_t utcMs, int64_t& id) {
    auto known = known_.find(text);
    if (known == known_.end()) {
        if (known_.size() >= kRemembered) known_.clear();
        find_->BindText(1, text);
        const bool found = find_->Step();
        const Known stored = found ? Known{find_->Int(0), find_->Int(1)} : Known{0, 0};
        const bool failed = find_->Failed();
        find_->Reset();
        if (failed) return false;
        if (!found) {
            const std::string folded = folded_ ? FoldCase(text) : std::string();
            insert_->BindText(1, text);
            if (folded_) insert_->BindText(2, folded);
            insert_->Bind(3, utcMs);
            insert_->Step();
            const bool inserted = !insert_->Failed();
            insert_->Reset();
            if (!inserted) return false;
            id = db_.LastInsertId();
        }
        known = known_.emplace(std::string(text), found ? stored : Known{id, utcMs}).first;
    }
    id = known->second.id;
    // The last use is kept to within a day; retention allows for that day.
    if (utcMs > known->second.lastMs + kDayMs) {
        touch_->Bind(1, id);
        touch_->Bind(2, utcMs);
        touch_->Step();
        const bool touched = !touch_->Failed();
        touch_->Reset();
        if (!touched) return false;
        known->second.lastMs = utcMs;
    }
    return true;
}

}  // namespace archive
