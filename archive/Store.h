#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "archive/Fault.h"
#include "archive/Record.h"
#include "archive/Sqlite.h"

namespace archive {

class Dictionary;

// What went wrong with the file, sorted into the problems the archive acts on.
struct StoreFailure {
    Problem problem = Problem::Failed;
    std::string reason;
};

// The problem a failure of the file at `path` stands for, and its reason.
StoreFailure FailureOf(const DbError& error, const std::string& path);

// The archive file open for writing, on the writer's thread: creates or
// upgrades the file, writes batches of records and prunes old ones.
class Store {
public:
    // Null, with the reason, when the file cannot be written.
    static std::unique_ptr<Store> Open(const std::string& path,
                                       std::chrono::milliseconds busyTimeout,
                                       StoreFailure& failure);
    ~Store();

    // Writes the first `count` records in one transaction: all of them or none.
    DbError Write(const std::deque<Record>& records, std::size_t count);

    // One small transaction of retention: removes at most `limit` entries
    // older than `cutoffMs`; when none is left, samples; then the texts and
    // sources no kept entry uses. `removed` is 0 once nothing is left to remove.
    DbError Prune(int64_t cutoffMs, int limit, int& removed);

    // Lets SQLite refresh its statistics before the file is closed.
    void Optimize();

private:
    Store(const std::string& path, std::unique_ptr<Db> db);
    DbError Prepare();
    DbError WriteOne(const Record& record);
    DbError Delete(Statement& statement, int64_t cutoffMs, int limit, int& removed);

    std::string path_;
    std::unique_ptr<Db> db_;
    std::unique_ptr<Dictionary> texts_;
    std::unique_ptr<Dictionary> sources_;
    std::unique_ptr<Statement> insertEntry_;
    std::unique_ptr<Statement> insertSample_;
    std::unique_ptr<Statement> pruneEntries_;
    std::unique_ptr<Statement> pruneSamples_;
    std::unique_ptr<Statement> pruneTexts_;
    std::unique_ptr<Statement> pruneSources_;
};

}  // namespace archive
