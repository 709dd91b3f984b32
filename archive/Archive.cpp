#include "archive/Archive.h"

#include <signal.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "archive/Writer.h"
#include "platform/core/LockFile.h"

namespace archive {

namespace {

constexpr std::size_t kSmallestQueue = 16;
constexpr std::size_t kLargestQueue = 1 << 20;
constexpr std::string_view kLost = " Потеряно записей архива: ";
constexpr std::size_t kLostTextSize = 64;

// The text of the entry that tells of `count` lost entries, in `buffer`.
std::string_view LostTextIn(char (&buffer)[kLostTextSize], uint64_t count) {
    std::copy(kLost.begin(), kLost.end(), buffer);
    const char* end = std::to_chars(buffer + kLost.size(), buffer + kLostTextSize, count).ptr;
    return {buffer, static_cast<std::size_t>(end - buffer)};
}

// A file size limit (ulimit -f) makes the kernel kill a process whose write
// crosses it, unless the process ignores SIGXFSZ; ignored, the write fails
// and the archive takes it for a full disk. A host that handles the signal
// itself is left as it is.
void IgnoreFileSizeSignal() {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) != 0) return;
    if ((current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_DFL) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGXFSZ, &ignore, nullptr);
    }
}

std::string OptionsError(const Options& options) {
    if (options.days < 0 || options.days > 36500) return "days out of range 0–36500";
    if (options.sampleSeconds < 0 || options.sampleSeconds > 86400)
        return "sample period out of range 0–86400 s";
    if (options.backlogLimit < 1) return "no room for entries held";
    if (options.commitInterval.count() < 1 || options.commitInterval.count() > 1000)
        return "commit interval out of range 1–1000 ms";
    if (options.retryInterval.count() < 1) return "retry interval below 1 ms";
    if (options.busyTimeout.count() < 0 || options.busyTimeout.count() > 60000)
        return "lock wait out of range 0–60000 ms";
    return {};
}

}  // namespace

Archive::Archive(Options options, Events events)
    : options_(std::move(options)),
      events_(std::move(events)),
      ring_(std::clamp(options_.queueCapacity, kSmallestQueue, kLargestQueue)) {}

Archive::~Archive() {
    {
        std::lock_guard lock(producer_);
        if (lostInQueue_ > 0) PushLost(1);
    }
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
    writer_.reset();
}

std::string Archive::LostText(uint64_t count) {
    char buffer[kLostTextSize];
    return std::string(LostTextIn(buffer, count));
}

OpenResult Archive::Open(const std::string& path) {
    if (writer_) return {false, path + ": the archive is open already"};
    if (path.empty()) return {false, "no file named for the archive"};
    if (const std::string error = OptionsError(options_); !error.empty())
        return {false, path + ": " + error};
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return {false, path + ": is a folder"};

    auto lock = std::make_unique<platform::LockFile>(path + ".lock");
    if (lock->TryLock() == platform::LockFile::Result::HeldElsewhere)
        return {false, path + ": in use by another program"};
    IgnoreFileSizeSignal();
    writer_ = std::make_unique<Writer>(path, options_, events_, std::move(lock), lost_);
    try {
        thread_ = std::thread(&Archive::Run, this);
    } catch (const std::system_error& failure) {
        writer_.reset();
        return {false, path + ": the writer thread did not start: " + failure.what()};
    }
    return {true, {}};
}

void Archive::Append(const Entry& entry) noexcept {
    std::lock_guard lock(producer_);
    // The entry that tells of a loss goes before the next one that finds room.
    if (lostInQueue_ > 0 && !PushLost(2)) {
        CountLost(entry.time);
        return;
    }
    if (!Push(&entry, nullptr)) CountLost(entry.time);
}

void Archive::CountLost(const Stamp& time) {
    ++lostInQueue_;
    lost_.fetch_add(1, std::memory_order_relaxed);
    lastLost_ = time;
}

bool Archive::PushLost(std::size_t room) {
    if (ring_.Capacity() - ring_.Size() < room) return false;
    char buffer[kLostTextSize];
    Entry lost;
    lost.time = lastLost_;
    lost.colour = plant::JournalColour::Blue;
    lost.text = LostTextIn(buffer, lostInQueue_);
    Record* slot = ring_.Claim();
    slot->SetEntry(lost);
    slot->lostCount = lostInQueue_;
    ring_.Publish();
    lostInQueue_ = 0;
    return true;
}

void Archive::OfferSample(const Sample& sample) noexcept {
    if (options_.sampleSeconds <= 0) return;
    const int64_t periodMs = int64_t{options_.sampleSeconds} * 1000;
    // Periods counted from 1970, so the kept samples fall on round times.
    const int64_t utc = sample.time.utcMs;
    const int64_t period = utc / periodMs - (utc % periodMs < 0 ? 1 : 0);
    std::lock_guard lock(producer_);
    if (period == samplePeriod_) return;
    // A sample that finds the queue full is left out: the trend has a gap.
    if (Push(nullptr, &sample)) samplePeriod_ = period;
}

bool Archive::Push(const Entry* entry, const Sample* sample) {
    Record* slot = ring_.Claim();
    if (slot == nullptr) return false;
    if (entry != nullptr)
        slot->SetEntry(*entry);
    else
        slot->SetSample(*sample);
    ring_.Publish();
    // Past half full, the writer is woken at once rather than at its next
    // round. Without the lock, a wake-up may be missed; the round comes anyway.
    if (ring_.Size() * 2 >= ring_.Capacity()) wake_.notify_one();
    return true;
}

bool Archive::Flush(std::chrono::milliseconds timeout) {
    if (!writer_) return false;
    bool lossUntold = false;
    {
        std::lock_guard lock(producer_);
        lossUntold = lostInQueue_ > 0 && !PushLost(1);
    }
    std::unique_lock lock(mutex_);
    const uint64_t ticket = ++flushAsked_;
    wake_.notify_one();
    flushed_.wait_for(lock, timeout, [&] { return flushDone_ >= ticket; });
    return flushDone_ >= ticket && allWritten_ && !lossUntold;
}

Counts Archive::Tally() const {
    Counts counts;
    counts.lost = lost_.load(std::memory_order_relaxed);
    if (writer_) {
        counts.written = writer_->Written();
        counts.waiting = writer_->Waiting() + ring_.Size();
        counts.failing = writer_->Failing();
    } else {
        counts.waiting = ring_.Size();
    }
    return counts;
}

void Archive::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!writer_->Busy())
            wake_.wait_for(lock, options_.commitInterval, [&] {
                return stop_ || flushAsked_ > flushDone_ || ring_.Size() * 2 >= ring_.Capacity();
            });
        const uint64_t ticket = flushAsked_;
        const bool stopping = stop_;
        lock.unlock();
        ring_.Drain([&](Record&& record) { writer_->Take(std::move(record)); });
        writer_->Work(stopping);
        lock.lock();
        flushDone_ = ticket;
        allWritten_ = writer_->AllWritten();
        flushed_.notify_all();
        if (stopping) return;
    }
}

}  // namespace archive
