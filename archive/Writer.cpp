#include "archive/Writer.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "archive/Store.h"
#include "platform/core/LockFile.h"

namespace archive {

namespace {

constexpr int64_t kDayMs = 86'400'000;
// Rows removed per retention transaction: a few milliseconds of work, so the
// records coming in never wait long behind it.
constexpr int kPruneChunk = 2000;

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// "20260612-140509": the local time, for the name a damaged file is moved to.
std::string LocalTimeForName(int64_t utcMs) {
    const std::time_t seconds = static_cast<std::time_t>(utcMs / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

}  // namespace

Writer::Writer(std::string path, const Options& options, const Events& events,
               std::unique_ptr<platform::LockFile> lock, std::atomic<uint64_t>& lost)
    : path_(std::move(path)),
      options_(options),
      events_(events),
      lock_(std::move(lock)),
      lost_(lost) {}

Writer::~Writer() {
    if (store_) store_->Optimize();
    store_.reset();
}

int64_t Writer::UtcNow() const {
    if (options_.utcNowMs) return options_.utcNowMs();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void Writer::Take(Record&& record) {
    if (waiting_.size() >= options_.backlogLimit) {
        const Record& oldest = waiting_.front();
        if (oldest.lostCount > 0) {
            // The entries it told of are counted already.
            dropped_ += oldest.lostCount;
            lastDropped_ = oldest.time;
        } else if (oldest.type == Record::Type::Entry) {
            ++dropped_;
            lost_.fetch_add(1, std::memory_order_relaxed);
            lastDropped_ = oldest.time;
        }
        waiting_.pop_front();
    }
    waiting_.push_back(std::move(record));
    waitingCount_.store(waiting_.size(), std::memory_order_relaxed);
}

void Writer::Work(bool closing) {
    if (!Ready(closing)) return;
    if (!waiting_.empty()) WriteWaiting();
    if (store_ && !closing) PruneStep();
}

bool Writer::Ready(bool closing) {
    if (store_) return true;
    if (!closing && Clock::now() < retryAt_) return false;
    // A lock the folder could not take at first is taken when it can; without
    // one the file is still written, as it is the only way to write it at all.
    if (lock_->TryLock() == platform::LockFile::Result::HeldElsewhere) {
        Fail(Problem::InUse, "in use by another program");
        return false;
    }
    StoreFailure failure;
    store_ = Store::Open(path_, options_.busyTimeout, failure);
    if (!store_) {
        Fail(failure.problem, failure.reason);
        return false;
    }
    // Retention runs at every opening, and then once a day.
    nextPruneMs_ = INT64_MIN;
    return true;
}

void Writer::WriteWaiting() {
    const bool withLost = dropped_ > 0;
    if (withLost) {
        const std::string text = Archive::LostText(dropped_);
        Entry lost;
        lost.time = lastDropped_;
        lost.colour = plant::JournalColour::Blue;
        lost.text = text;
        waiting_.emplace_front().SetEntry(lost);
        waiting_.front().lostCount = dropped_;
    }
    if (const DbError error = store_->Write(waiting_, waiting_.size())) {
        if (withLost) waiting_.pop_front();
        Fail(error);
        return;
    }
    dropped_ = 0;
    written_.fetch_add(waiting_.size(), std::memory_order_relaxed);
    waiting_.clear();
    waitingCount_.store(0, std::memory_order_relaxed);
    if (failing_) {
        failing_.reset();
        failingFlag_.store(false, std::memory_order_relaxed);
        if (events_.recovered) events_.recovered(path_);
    }
}

void Writer::PruneStep() {
    if (options_.days <= 0) return;
    const int64_t now = UtcNow();
    if (!pruning_ && now < nextPruneMs_) return;
    pruning_ = true;
    int removed = 0;
    if (const DbError error = store_->Prune(now - options_.days * kDayMs, kPruneChunk, removed)) {
        pruning_ = false;
        Fail(error);
        return;
    }
    if (removed == 0) {
        pruning_ = false;
        nextPruneMs_ = now + kDayMs;
    }
}

void Writer::Fail(const DbError& error) {
    const StoreFailure failure = FailureOf(error, path_);
    Fail(failure.problem, failure.reason);
}

void Writer::Fail(Problem problem, const std::string& reason) {
    store_.reset();
    retryAt_ = Clock::now() + options_.retryInterval;
    std::string why = reason;
    std::string aside;
    if (problem == Problem::Corrupt) {
        aside = MoveAside(why);
        // A fresh file goes in its place at once.
        if (!aside.empty()) retryAt_ = Clock::now();
    }
    const bool told = failing_ == problem;
    failing_ = problem;
    failingFlag_.store(true, std::memory_order_relaxed);
    if (!told && events_.failed) events_.failed(Fault{problem, path_, why, aside});
}

std::string Writer::MoveAside(std::string& why) {
    const std::string base = path_ + ".corrupt-" + LocalTimeForName(UtcNow());
    std::string aside = base;
    for (int n = 2; Exists(aside) || Exists(aside + "-wal"); ++n)
        aside = base + "-" + std::to_string(n);
    if (std::rename(path_.c_str(), aside.c_str()) != 0) {
        char buffer[128];
        why += "; it cannot be moved aside: ";
        why += strerror_r(errno, buffer, sizeof buffer);
        return {};
    }
    // The log goes with it: left here, it would be read into the new file.
    if (Exists(path_ + "-wal")) std::rename((path_ + "-wal").c_str(), (aside + "-wal").c_str());
    std::remove((path_ + "-shm").c_str());
    return aside;
}

}  // namespace archive
