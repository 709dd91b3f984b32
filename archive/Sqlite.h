#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace archive {

// A failure SQLite reported: its result code, the system's error number behind
// it, and both in words.
struct DbError {
    int code = 0;      // SQLite's primary result code; 0: no failure
    int extended = 0;  // its extended result code
    int systemErrno = 0;
    std::string text;  // "database or disk is full", "disk I/O error (File too large)"
    explicit operator bool() const { return code != 0; }
};

// One SQLite connection, used by one thread at a time.
class Db {
public:
    // Opens `path` (read-write, created when missing, unless `readOnly`).
    // Null on failure, with the reason in `error`.
    static std::unique_ptr<Db> Open(const std::string& path, bool readOnly,
                                    std::chrono::milliseconds busyTimeout, DbError& error);
    ~Db();
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    sqlite3* Handle() const { return db_; }
    // Runs statements without results.
    DbError Exec(const char* sql);
    // The connection's last failure.
    DbError Error() const;
    // The single integer a statement such as "PRAGMA user_version" returns.
    DbError QueryInt(const char* sql, int64_t& value);
    int64_t LastInsertId() const;
    bool InTransaction() const;
    // Rolls back an open transaction, if any; the outcome is of no interest.
    void RollbackQuietly();

private:
    explicit Db(sqlite3* db) : db_(db) {}
    sqlite3* db_;
};

// A prepared statement of one connection.
class Statement {
public:
    // An empty statement when `sql` does not compile; `error` says why.
    Statement(Db& db, std::string_view sql, DbError& error);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    explicit operator bool() const { return stmt_ != nullptr; }

    // Binding, 1-based. The text must outlive the next Step().
    void Bind(int index, int64_t value);
    void BindText(int index, std::string_view text);
    void BindNull(int index);

    // One step: true with a row to read, false when done or failed (then
    // Failed() is set, and Db::Error() says why).
    bool Step();
    bool Failed() const { return failed_; }
    // Back to the first row, bindings kept.
    void Reset();

    int64_t Int(int column) const;
    bool IsNull(int column) const;
    std::string_view Text(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
    bool failed_ = false;
};

}  // namespace archive
