#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "archive/Entry.h"
#include "archive/Fault.h"
#include "archive/RecordRing.h"

namespace archive {

class Writer;

struct Options {
    int days = 365;          // entries and samples older than this are pruned; 0 keeps all
    int sampleSeconds = 10;  // one sample kept per period of this length; 0 keeps none
    std::size_t queueCapacity = 4096;   // records on their way to the writer thread
    std::size_t backlogLimit = 100000;  // records held while the file cannot be written
    // How often the writer thread commits what came in (at most a second), how
    // often it tries a file it could not write again, and how long it waits
    // for another program's write lock each time.
    std::chrono::milliseconds commitInterval{250};
    std::chrono::milliseconds retryInterval{5000};
    std::chrono::milliseconds busyTimeout{500};
    // The clock of retention and of the archive's own entries, UTC
    // milliseconds; empty: the system clock.
    std::function<int64_t()> utcNowMs;
};

// What the archive tells its host. Both run on the writer thread; they may
// call Append, but must not call Flush nor wait for the host's thread (which
// may be waiting for the writer in Flush or in the destructor).
struct Events {
    // A failure of the file, once when it begins (and again for a different
    // one, or after the file was written in between).
    std::function<void(const Fault&)> failed;
    // The file is written again after a failure.
    std::function<void(const std::string& path)> recovered;
};

struct OpenResult {
    bool ok = false;
    std::string error;  // why not: "<path>: in use by another program"
    explicit operator bool() const { return ok; }
};

struct Counts {
    uint64_t written = 0;     // entries and samples in the file
    uint64_t lost = 0;        // entries dropped: a full queue, or the held ones beyond the limit
    std::size_t waiting = 0;  // records held for the file
    bool failing = false;     // the file cannot be written at the moment
};

// The event archive: the journal's entries and the plant's samples, kept in an
// SQLite file for `Options::days` (docs/archive.md).
//
// The host's thread hands entries and samples over; it never touches the disk
// and allocates nothing for an entry of the usual length. A writer thread
// commits them in batches, at least once a second, and prunes old ones in
// small transactions. When the file cannot be written, the records wait in
// memory up to a limit and the host hears of the failure once.
class Archive {
public:
    explicit Archive(Options options = {}, Events events = {});
    // Writes what is still queued (one more attempt when the file is failing)
    // and closes the file.
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // Starts writing to the file at `path`, created when missing. Entries
    // appended before come first. Fails only for what waiting cannot mend:
    // options out of range, a path that names a folder, a file another archive
    // of this program has open; a file that cannot be written yet is a fault
    // reported through Events and tried again.
    OpenResult Open(const std::string& path);

    // Hands an entry over; copies its texts. Never waits for the disk or the
    // writer thread. With the queue full the entry is dropped and counted, and
    // one entry saying how many were lost goes in before the next entry that
    // finds room (or at the next Flush, or when the archive closes).
    void Append(const Entry& entry) noexcept;
    // Hands a sample over when it is the first of its period of
    // Options::sampleSeconds, else ignores it: the host may offer one every
    // controller cycle.
    void OfferSample(const Sample& sample) noexcept;

    // Waits until everything handed over before the call has been written, or
    // the writer has found the file failing, or `timeout` has passed. True
    // when all of it is in the file.
    bool Flush(std::chrono::milliseconds timeout = std::chrono::seconds(10));

    Counts Tally() const;

    // The text of the entry that says `count` entries were lost.
    static std::string LostText(uint64_t count);

private:
    bool Push(const Entry* entry, const Sample* sample);
    // Counts an entry the queue had no room for.
    void CountLost(const Stamp& time);
    // Queues the entry that tells of the lost ones, if `room` slots are free.
    bool PushLost(std::size_t room);
    void Run();

    Options options_;
    Events events_;
    RecordRing ring_;

    // The ring takes one producer at a time; the writer thread never takes this.
    std::mutex producer_;
    uint64_t lostInQueue_ = 0;  // since the last entry saying so
    Stamp lastLost_;
    int64_t samplePeriod_ = INT64_MIN;

    std::unique_ptr<Writer> writer_;
    std::thread thread_;
    std::mutex mutex_;  // guards the fields below, between host and writer
    std::condition_variable wake_;
    std::condition_variable flushed_;
    bool stop_ = false;
    uint64_t flushAsked_ = 0;
    uint64_t flushDone_ = 0;
    bool allWritten_ = false;

    std::atomic<uint64_t> lost_{0};
};

}  // namespace archive
