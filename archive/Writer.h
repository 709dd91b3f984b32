#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "archive/Archive.h"
#include "archive/Record.h"

namespace platform {
class LockFile;
}

namespace archive {

class Store;
struct DbError;

// The writer thread's side of the archive: the records waiting for the file,
// the file itself, what to do when it fails, and retention. Used by that
// thread alone, apart from the counters.
class Writer {
public:
    Writer(std::string path, const Options& options, const Events& events,
           std::unique_ptr<platform::LockFile> lock, std::atomic<uint64_t>& lost);
    // Closes the file.
    ~Writer();

    // Takes a record over. Beyond the backlog limit the oldest record is
    // dropped; dropped entries are counted, and one entry says so when the
    // file is written again.
    void Take(Record&& record);
    // Does what is due: opens the file (again), writes what waits, one small
    // step of retention. `closing`: the last call, which tries a failing file
    // once more at once and leaves retention.
    void Work(bool closing);

    // A retention pass is under way: call Work again without a pause.
    bool Busy() const { return pruning_; }
    // Nothing waits and the file is not failing.
    bool AllWritten() const { return waiting_.empty() && !failing_; }

    uint64_t Written() const { return written_.load(std::memory_order_relaxed); }
    std::size_t Waiting() const { return waitingCount_.load(std::memory_order_relaxed); }
    bool Failing() const { return failingFlag_.load(std::memory_order_relaxed); }

private:
    using Clock = std::chrono::steady_clock;

    bool Ready(bool closing);
    void WriteWaiting();
    void PruneStep();
    void Fail(const DbError& error);
    void Fail(Problem problem, const std::string& reason);
    // Moves a damaged file and its log aside; the new name, or empty.
    std::string MoveAside(std::string& why);
    int64_t UtcNow() const;

    std::string path_;
    Options options_;
    Events events_;
    std::unique_ptr<platform::LockFile> lock_;
    std::atomic<uint64_t>& lost_;
    std::unique_ptr<Store> store_;

    std::deque<Record> waiting_;
    uint64_t dropped_ = 0;  // entries dropped since the last entry saying so
    Stamp lastDropped_;

    std::optional<Problem> failing_;
    Clock::time_point retryAt_{};
    bool pruning_ = false;
    int64_t nextPruneMs_ = INT64_MIN;

    std::atomic<uint64_t> written_{0};
    std::atomic<std::size_t> waitingCount_{0};
    std::atomic<bool> failingFlag_{false};
};

}  // namespace archive
