#include "archive/Sqlite.h"

#include <sqlite3.h>

#include <cstring>

namespace archive {

namespace {

// The system's error number is that of the connection's last failed system
// call, which may belong to an earlier, harmless one: it is taken only for
// the failures that come from a system call.
bool FromSystemCall(int code) {
    return code == SQLITE_IOERR || code == SQLITE_CANTOPEN || code == SQLITE_FULL ||
           code == SQLITE_READONLY;
}

DbError ErrorOf(sqlite3* db, int code) {
    DbError error;
    error.code = code & 0xff;
    error.extended = db != nullptr ? sqlite3_extended_errcode(db) : code;
    error.systemErrno = db != nullptr && FromSystemCall(error.code) ? sqlite3_system_errno(db) : 0;
    error.text = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    if (error.systemErrno != 0) {
        char buffer[128];
        error.text += " (";
        error.text += strerror_r(error.systemErrno, buffer, sizeof buffer);
        error.text += ')';
    }
    return error;
}

}  // namespace

std::unique_ptr<Db> Db::Open(const std::string& path, bool readOnly,
                             std::chrono::milliseconds busyTimeout, DbError& error) {
    sqlite3* db = nullptr;
    const int flags =
        (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (code != SQLITE_OK) {
        error = ErrorOf(db, code);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, static_cast<int>(busyTimeout.count()));
    error = {};
    return std::unique_ptr<Db>(new Db(db));
}

Db::~Db() {
    // Statements are finalized by their owners first; close_v2 copes either way.
    sqlite3_close_v2(db_);
}

DbError Db::Exec(const char* sql) {
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    return code == SQLITE_OK ? DbError{} : ErrorOf(db_, code);
}

DbError Db::Error() const {
    const int code = sqlite3_errcode(db_);
    return ErrorOf(db_, code == SQLITE_OK ? SQLITE_ERROR : code);
}

DbError Db::QueryInt(const char* sql, int64_t& value) {
    DbError error;
    Statement statement(*this, sql, error);
    if (error) return error;
    value = statement.Step() ? statement.Int(0) : 0;
    return statement.Failed() ? Error() : DbError{};
}

int64_t Db::LastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

bool Db::InTransaction() const {
    return sqlite3_get_autocommit(db_) == 0;
}

void Db::RollbackQuietly() {
    if (InTransaction()) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

Statement::Statement(Db& db, std::string_view sql, DbError& error) {
    const int code = sqlite3_prepare_v3(db.Handle(), sql.data(), static_cast<int>(sql.size()),
                                        SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (code != SQLITE_OK) {
        error = db.Error();
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::Bind(int index, int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
}

void Statement::BindText(int index, std::string_view text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void Statement::BindNull(int index) {
    sqlite3_bind_null(stmt_, index);
}

bool Statement::Step() {
    const int code = sqlite3_step(stmt_);
    failed_ = code != SQLITE_ROW && code != SQLITE_DONE;
    return code == SQLITE_ROW;
}

void Statement::Reset() {
    sqlite3_reset(stmt_);
    failed_ = false;
}

int64_t Statement::Int(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

bool Statement::IsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string_view Statement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (text == nullptr) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

}  // namespace archive
