#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "archive/Archive.h"
#include "archive/Reader.h"

namespace archive_test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// 2026-06-12 00:00:00 UTC.
constexpr int64_t kDay0 = 1'781'222'400'000;
constexpr int64_t kDayMs = 86'400'000;

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// An entry stamped `utcMs` (Moscow time), with its texts held by the entry.
struct Made {
    archive::Entry entry;
    std::string text, source;
};

inline archive::Entry MakeEntry(int64_t utcMs, std::string_view text,
                                archive::Kind kind = archive::Kind::System,
                                archive::Subject subject = {}, std::string_view source = {},
                                plant::JournalColour colour = plant::JournalColour::Default) {
    archive::Entry entry;
    entry.time = {utcMs, 180};
    entry.text = text;
    entry.kind = kind;
    entry.subject = subject;
    entry.source = source;
    entry.colour = colour;
    return entry;
}

// Fast rounds, so a test waits milliseconds for the writer, not seconds.
inline archive::Options QuickOptions() {
    archive::Options options;
    options.commitInterval = 5ms;
    options.retryInterval = 20ms;
    options.busyTimeout = 50ms;
    options.days = 0;
    return options;
}

// The faults an archive reported, as its writer thread reports them.
class FaultLog {
public:
    archive::Events Events() {
        archive::Events events;
        events.failed = [this](const archive::Fault& fault) {
            std::lock_guard lock(mutex_);
            faults_.push_back(fault);
        };
        events.recovered = [this](const std::string&) {
            std::lock_guard lock(mutex_);
            ++recovered_;
        };
        return events;
    }
    std::vector<archive::Fault> Faults() const {
        std::lock_guard lock(mutex_);
        return faults_;
    }
    int Recovered() const {
        std::lock_guard lock(mutex_);
        return recovered_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<archive::Fault> faults_;
    int recovered_ = 0;
};

// Waits up to ten seconds for `done`, checking every few milliseconds.
inline bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

// Every entry of the file, in the order they came in.
inline std::vector<archive::Row> ReadAll(const fs::path& path) {
    std::string error;
    const std::unique_ptr<archive::Reader> reader = archive::Reader::Open(path.string(), error);
    EXPECT_TRUE(reader) << error;
    if (!reader) return {};
    const archive::Page page = reader->Since(0, {}, 1'000'000);
    EXPECT_EQ(page.error, "");
    return page.rows;
}

inline std::vector<std::string> TextsOf(const std::vector<archive::Row>& rows) {
    std::vector<std::string> texts;
    for (const archive::Row& row : rows) texts.push_back(row.text);
    return texts;
}

// A plain connection to the file, as another program would hold one.
class RawDb {
public:
    explicit RawDb(const fs::path& path) {
        EXPECT_EQ(sqlite3_open(path.c_str(), &db_), SQLITE_OK);
        sqlite3_busy_timeout(db_, 2000);
    }
    ~RawDb() { sqlite3_close_v2(db_); }
    void Exec(const std::string& sql) {
        char* message = nullptr;
        EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK)
            << sql << ": " << (message ? message : "");
        sqlite3_free(message);
    }
    int64_t Int(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        int64_t value = -1;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return value;
    }
    std::string Text(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        std::string value = "(no row)";
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
        return value;
    }

private:
    sqlite3* db_ = nullptr;
};

constexpr uid_t kNobody = 65534;

// Runs `body` in a child process and returns whether it passed: the child's
// failed checks are printed there and make it exit with 1. `asNobody` drops
// root's rights first, since root passes every permission check. Call it
// while the test runs no thread of its own.
inline bool InChildProcess(const std::function<void()>& body, bool asNobody = false) {
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        if (asNobody && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        body();
        std::fflush(stdout);
        ::_exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A fresh folder per test, removed afterwards.
class ArchiveTest : public testing::Test {
protected:
    ArchiveTest() {
        // A parameterised test's name holds a '/': one folder, not two.
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        folder_ =
            fs::temp_directory_path() / ("archive-test-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        path_ = folder_ / "GrainTerminal.db";
    }
    ~ArchiveTest() override {
        std::error_code error;
        fs::permissions(folder_, fs::perms::owner_all, error);
        fs::remove_all(folder_, error);
    }

    fs::path folder_;
    fs::path path_;
};

}  // namespace archive_test
