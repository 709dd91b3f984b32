#include "archive/Store.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "archive/Dictionary.h"
#include "archive/Schema.h"

namespace archive {

namespace {

constexpr int64_t kDayMs = 86'400'000;
// The write-ahead log is cut back to this size after a checkpoint.
constexpr const char* kSettings =
    "PRAGMA synchronous = NORMAL; PRAGMA journal_size_limit = 4194304;";

// Whether the file starts as every SQLite database does: then a file SQLite
// calls no database is a damaged one.
bool HasSqliteHeader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[16] = {};
    in.read(header, sizeof header);
    return in &&
           std::string_view(header, sizeof header) == std::string_view("SQLite format 3\0", 16);
}

// SQLite keeps no error number for a failed write: it may have been a full
// disk, a quota or a file size limit. Whether space is short is looked at
// instead; empty when it is not.
std::string SpaceShortage(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::absolute(path, error).parent_path();
    struct statvfs disk {};
    constexpr unsigned long long kLittle = 1 << 20;
    if (::statvfs(folder.c_str(), &disk) == 0 &&
        static_cast<unsigned long long>(disk.f_bavail) * disk.f_frsize < kLittle)
        return "no space left on the disk";
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        uintmax_t largest = 0;
        for (const std::string& file : {path, path + "-wal"}) {
            const uintmax_t size = fs::file_size(file, error);
            if (!error) largest = std::max(largest, size);
        }
        // A write of the log's next pages would cross the limit.
        if (largest + (256u << 10) >= limit.rlim_cur)
            return "the file size limit of " + std::to_string(limit.rlim_cur) + " bytes is reached";
    }
    return {};
}

Problem ProblemOf(const DbError& error, const std::string& path) {
    switch (error.code) {
        case SQLITE_FULL:
            return Problem::DiskFull;
        case SQLITE_IOERR:
            switch (error.systemErrno) {
                case ENOSPC:
                case EDQUOT:
                case EFBIG:
                    return Problem::DiskFull;
                case EACCES:
                case EPERM:
                case EROFS:
                    return Problem::NotWritable;
                default:
                    return Problem::Failed;
            }
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
        case SQLITE_CANTOPEN:
            return Problem::NotWritable;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Problem::Locked;
        case SQLITE_NOTADB:
            return HasSqliteHeader(path) ? Problem::Corrupt : Problem::NotADatabase;
        case SQLITE_CORRUPT:
            return Problem::Corrupt;
        default:
            return Problem::Failed;
    }
}

}  // namespace

StoreFailure FailureOf(const DbError& error, const std::string& path) {
    StoreFailure failure{ProblemOf(error, path), error.text};
    if (error.code == SQLITE_IOERR && error.systemErrno == 0) {
        if (const std::string shortage = SpaceShortage(path); !shortage.empty()) {
            failure.problem = Problem::DiskFull;
            failure.reason += ": " + shortage;
        }
    }
    return failure;
}

std::unique_ptr<Store> Store::Open(const std::string& path, std::chrono::milliseconds busyTimeout,
                                   StoreFailure& failure) {
    DbError error;
    auto failed = [&](const DbError& why) {
        failure = FailureOf(why, path);
        return nullptr;
    };
    auto notOurs = [&](const Inspection& seen) {
        if (seen.state == FileState::Newer)
            failure = {Problem::NewerVersion, "written by a later version of the program (layout " +
                                                  std::to_string(seen.version) +
                                                  ", this one knows " +
                                                  std::to_string(kSchemaVersion) + ")"};
        else
            failure = {Problem::NotADatabase, "another program's SQLite database"};
        return nullptr;
    };

    std::unique_ptr<Db> db = Db::Open(path, false, busyTimeout, error);
    if (!db) return failed(error);
    // Another program's file is looked at, never changed: not even its journal mode.
    Inspection seen = Inspect(*db);
    if (seen.error) return failed(seen.error);
    if (seen.state == FileState::Newer || seen.state == FileState::Foreign) return notOurs(seen);

    std::string mode;
    {
        Statement wal(*db, "PRAGMA journal_mode = WAL", error);
        if (error) return failed(error);
        if (wal.Step()) mode = wal.Text(0);
        if (wal.Failed()) return failed(db->Error());
    }
    seen = Upgrade(*db);
    if (seen.error) return failed(seen.error);
    if (seen.state != FileState::Current) return notOurs(seen);
    if (mode != "wal") {
        failure = {Problem::Failed,
                   "the file cannot be kept in WAL mode (journal mode " + mode + ")"};
        return nullptr;
    }
    if ((error = db->Exec(kSettings))) return failed(error);

    std::unique_ptr<Store> store(new Store(path, std::move(db)));
    if ((error = store->Prepare())) return failed(error);
    return store;
}

Store::Store(const std::string& path, std::unique_ptr<Db> db) : path_(path), db_(std::move(db)) {}

// The statements go before the connection.
Store::~Store() {
    texts_.reset();
    sources_.reset();
    insertEntry_.reset();
    insertSample_.reset();
    pruneEntries_.reset();
    pruneSamples_.reset();
    pruneTexts_.reset();
    pruneSources_.reset();
}

DbError Store::Prepare() {
    DbError error;
    texts_ = std::make_unique<Dictionary>(*db_, "texts", true, error);
    if (error) return error;
    sources_ = std::make_unique<Dictionary>(*db_, "sources", false, error);
    if (error) return error;
    const auto prepare = [&](std::unique_ptr<Statement>& statement, const char* sql) {
        if (!error) statement = std::make_unique<Statement>(*db_, sql, error);
    };
    prepare(insertEntry_,
            "INSERT INTO entries(utc_ms, offset_min, colour, kind, subject, detail, source_id, "
            "text_id) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    prepare(insertSample_,
            "INSERT OR REPLACE INTO samples VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    prepare(pruneEntries_,
            "DELETE FROM entries WHERE id IN "
            "(SELECT id FROM entries WHERE utc_ms < ?1 ORDER BY utc_ms LIMIT ?2)");
    prepare(pruneSamples_,
            "DELETE FROM samples WHERE utc_ms IN "
            "(SELECT utc_ms FROM samples WHERE utc_ms < ?1 ORDER BY utc_ms LIMIT ?2)");
    prepare(pruneTexts_,
            "DELETE FROM texts WHERE id IN (SELECT id FROM texts WHERE last_ms < ?1 LIMIT ?2)");
    prepare(pruneSources_,
            "DELETE FROM sources WHERE id IN (SELECT id FROM sources WHERE last_ms < ?1 LIMIT ?2)");
    return error;
}

DbError Store::Write(const std::deque<Record>& records, std::size_t count) {
    DbError error = db_->Exec("BEGIN IMMEDIATE");
    for (std::size_t i = 0; i < count && !error; ++i) error = WriteOne(records[i]);
    if (!error) error = db_->Exec("COMMIT");
    if (error) {
        db_->RollbackQuietly();
        // Ids taken in the rolled-back transaction are void.
        texts_->Forget();
        sources_->Forget();
    }
    return error;
}

DbError Store::WriteOne(const Record& record) {
    const int64_t utcMs = record.time.utcMs;
    Statement& insert = record.type == Record::Type::Entry ? *insertEntry_ : *insertSample_;
    insert.Bind(1, utcMs);
    insert.Bind(2, record.time.offsetMinutes);
    if (record.type == Record::Type::Entry) {
        int64_t textId = 0, sourceId = 0;
        if (!texts_->Id(record.Text(), utcMs, textId)) return db_->Error();
        if (record.sourceSize != 0 && !sources_->Id(record.Source(), utcMs, sourceId))
            return db_->Error();
        insert.Bind(3, record.colour);
        insert.Bind(4, record.kind);
        insert.Bind(5, record.subject);
        insert.Bind(6, record.detail);
        if (record.sourceSize != 0)
            insert.Bind(7, sourceId);
        else
            insert.BindNull(7);
        insert.Bind(8, textId);
    } else {
        for (std::size_t n = 0; n < record.tenths.size(); ++n)
            insert.Bind(static_cast<int>(n) + 3, record.tenths[n]);
    }
    insert.Step();
    const bool failed = insert.Failed();
    insert.Reset();
    return failed ? db_->Error() : DbError{};
}

DbError Store::Delete(Statement& statement, int64_t cutoffMs, int limit, int& removed) {
    statement.Bind(1, cutoffMs);
    statement.Bind(2, limit);
    statement.Step();
    const bool failed = statement.Failed();
    statement.Reset();
    if (failed) return db_->Error();
    removed = sqlite3_changes(db_->Handle());
    return {};
}

DbError Store::Prune(int64_t cutoffMs, int limit, int& removed) {
    removed = 0;
    for (Statement* rows : {pruneEntries_.get(), pruneSamples_.get()}) {
        if (DbError error = Delete(*rows, cutoffMs, limit, removed); error || removed > 0)
            return error;
    }
    // A text's last use is known to a day, so one used a day before the cutoff
    // may still be needed.
    for (Statement* strings : {pruneTexts_.get(), pruneSources_.get()}) {
        if (DbError error = Delete(*strings, cutoffMs - kDayMs, limit, removed); error)
            return error;
        if (removed > 0) {
            texts_->Forget();
            sources_->Forget();
            return {};
        }
    }
    return {};
}

void Store::Optimize() {
    db_->Exec("PRAGMA optimize");
}

}  // namespace archive
