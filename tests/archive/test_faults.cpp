#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>
#include <new>

#include "tests/archive/ArchiveRig.h"

namespace archive_test {
namespace {

using archive::Problem;

// A failure the archive meets while the host goes on: how to bring it about,
// how the user mends it, and what the archive must report.
struct Failure {
    std::string name;
    Problem problem;
    std::string reason;  // a part of the reason reported
    std::function<void(const fs::path& path, std::unique_ptr<RawDb>& holder)> bring;
    std::function<void(const fs::path& path, std::unique_ptr<RawDb>& holder)> mend;
    bool asNobody = false;   // root passes permission checks
    bool leftAlone = false;  // the file is not ours: its bytes stay as they were
};

void MakeArchive(const fs::path& path) {
    archive::Archive archive(QuickOptions());
    EXPECT_TRUE(archive.Open(path.string()));
    archive.Append(MakeEntry(kDay0, " before"));
}

void MoveAway(const fs::path& path, std::unique_ptr<RawDb>&) {
    fs::rename(path, path.string() + ".kept");
}

std::vector<Failure> Failures() {
    return {
        {"DiskFull", Problem::DiskFull, "file size limit",
         [](const fs::path& path, std::unique_ptr<RawDb>&) {
             MakeArchive(path);
             // No file may grow past the archive's size: the log fills up,
             // and copying it into the file, which a closing connection tries,
             // cannot make room either. A limit above the file's size let a
             // closing connection empty the log now and then, and a few
             // entries were written between two failures.
             struct rlimit limit {};
             getrlimit(RLIMIT_FSIZE, &limit);
             limit.rlim_cur = fs::file_size(path);
             EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
         },
         [](const fs::path&, std::unique_ptr<RawDb>&) {
             struct rlimit limit {};
             getrlimit(RLIMIT_FSIZE, &limit);
             limit.rlim_cur = limit.rlim_max;
             EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
         }},
        {"ReadOnlyFolder", Problem::NotWritable, "unable to open database file",
         [](const fs::path& path, std::unique_ptr<RawDb>&) {
             EXPECT_EQ(::chmod(path.parent_path().c_str(), 0555), 0);
         },
         [](const fs::path& path, std::unique_ptr<RawDb>&) {
             EXPECT_EQ(::chmod(path.parent_path().c_str(), 0755), 0);
         },
         true},
        {"LockedByAnotherProgram", Problem::Locked, "database is locked",
         [](const fs::path& path, std::unique_ptr<RawDb>& holder) {
             MakeArchive(path);
             holder = std::make_unique<RawDb>(path);
             holder->Exec("BEGIN EXCLUSIVE");
         },
         [](const fs::path&, std::unique_ptr<RawDb>& holder) {
             holder->Exec("COMMIT");
             holder.reset();
         }},
        {"NotADatabase", Problem::NotADatabase, "file is not a database",
         [](const fs::path& path, std::unique_ptr<RawDb>&) {
             WriteFile(path, "[Dev1]\nMode=1\n" + std::string(5000, '#'));
         },
         MoveAway, false, true},
        {"AnotherProgramsDatabase", Problem::NotADatabase, "another program's SQLite database",
         [](const fs::path& path, std::unique_ptr<RawDb>&) {
             RawDb(path).Exec(
                 "CREATE TABLE people(name TEXT); INSERT INTO people VALUES ('Зернов');");
         },
         MoveAway, false, true},
        {"WrittenByALaterVersion", Problem::NewerVersion, "layout 2",
         [](const fs::path& path, std::unique_ptr<RawDb>&) {
             MakeArchive(path);
             RawDb(path).Exec("PRAGMA user_version = 2");
         },
         MoveAway, false, true},
    };
}

void PrintTo(const Failure& failure, std::ostream* out) {
    *out << failure.name;
}

class FailureTest : public ArchiveTest, public testing::WithParamInterface<Failure> {};

// Each failure is reported once, however often the archive tries again; the
// host appends on meanwhile; once the user mends it, everything held is
// written and the recovery is reported once. A file that is not ours keeps its
// bytes. Each case runs in a child process, which may lower its file size
// limit or drop root's rights.
TEST_P(FailureTest, ReportedOnceWrittenWhenMended) {
    const Failure& failure = GetParam();
    if (failure.asNobody && ::geteuid() == 0) {
        ASSERT_EQ(::chown(folder_.c_str(), kNobody, kNobody), 0);
    }
    const fs::path path = path_;
    const bool passed = InChildProcess(
        [&] {
            std::unique_ptr<RawDb> holder;
            failure.bring(path, holder);
            const std::string bytes = ReadFile(path);
            FaultLog log;
            archive::Archive archive(QuickOptions(), log.Events());
            ASSERT_TRUE(archive.Open(path.string()));
            // Long distinct texts, so a full disk is met soon.
            std::vector<std::string> texts;
            for (int i = 0; i < 40; ++i)
                texts.push_back(" held " + std::to_string(i) + std::string(3000, '.'));
            for (int i = 0; i < 40; ++i) {
                archive.Append(MakeEntry(kDay0 + i, texts[i]));
                archive.Flush();
            }
            ASSERT_TRUE(WaitFor([&] { return !log.Faults().empty(); }));
            // Several rounds of trying again, with more entries handed over.
            for (int i = 0; i < 10; ++i) {
                EXPECT_FALSE(archive.Flush());
                std::this_thread::sleep_for(10ms);
            }
            const std::vector<archive::Fault> faults = log.Faults();
            std::string told;
            for (const archive::Fault& fault : faults)
                told += std::to_string(static_cast<int>(fault.problem)) + " " + fault.reason + "; ";
            ASSERT_EQ(faults.size(), 1u) << told;
            EXPECT_EQ(faults[0].problem, failure.problem) << faults[0].reason;
            EXPECT_EQ(faults[0].path, path.string());
            EXPECT_THAT(faults[0].reason, testing::HasSubstr(failure.reason));
            EXPECT_EQ(faults[0].movedTo, "");
            EXPECT_TRUE(archive.Tally().failing);
            EXPECT_EQ(log.Recovered(), 0);
            if (failure.leftAlone) {
                EXPECT_EQ(ReadFile(path), bytes);
            }

            failure.mend(path, holder);
            EXPECT_TRUE(WaitFor([&] { return archive.Flush(); }));
            EXPECT_EQ(log.Recovered(), 1);
            EXPECT_EQ(log.Faults().size(), 1u);
            const std::vector<std::string> written = TextsOf(ReadAll(path));
            ASSERT_GE(written.size(), 40u);
            EXPECT_EQ(std::vector<std::string>(written.end() - 40, written.end()), texts);
            if (failure.leftAlone) {
                EXPECT_EQ(ReadFile(path.string() + ".kept"), bytes);
            }
        },
        failure.asNobody);
    EXPECT_TRUE(passed) << "see the child's output above";
}

INSTANTIATE_TEST_SUITE_P(Failures, FailureTest, testing::ValuesIn(Failures()),
                         [](const auto& info) { return info.param.name; });

// Overwrites the file from byte `from` on with a pattern SQLite cannot read.
void Damage(const fs::path& path, std::size_t from) {
    std::string bytes = ReadFile(path);
    for (std::size_t i = from; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0xA5 ^ (i * 7));
    WriteFile(path, bytes);
}

// A damaged archive is moved aside under a dated name, kept as it was, and a
// new file takes the entries at once.
TEST_F(ArchiveTest, DamagedFileIsMovedAsideAndANewOneStarted) {
    for (const std::size_t from : {std::size_t{100}, std::size_t{4096}}) {
        SCOPED_TRACE(from);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        {
            archive::Archive archive(QuickOptions());
            ASSERT_TRUE(archive.Open(path_.string()));
            for (int i = 0; i < 300; ++i)
                archive.Append(
                    MakeEntry(kDay0 + i, " old " + std::to_string(i) + std::string(100, '-')));
        }
        Damage(path_, from);
        const std::string damaged = ReadFile(path_);

        FaultLog log;
        archive::Archive archive(QuickOptions(), log.Events());
        ASSERT_TRUE(archive.Open(path_.string()));
        archive.Append(MakeEntry(kDay0 + 1000, " new " + std::to_string(from)));
        ASSERT_TRUE(WaitFor([&] { return archive.Flush(); }));

        const std::vector<archive::Fault> faults = log.Faults();
        ASSERT_EQ(faults.size(), 1u);
        EXPECT_EQ(faults[0].problem, Problem::Corrupt);
        EXPECT_THAT(faults[0].movedTo,
                    testing::MatchesRegex(".*/GrainTerminal\\.db\\.corrupt-[0-9]{8}-[0-9]{6}"));
        EXPECT_EQ(ReadFile(faults[0].movedTo), damaged);
        EXPECT_EQ(log.Recovered(), 1);
        EXPECT_THAT(TextsOf(ReadAll(path_)), testing::ElementsAre(" new " + std::to_string(from)));
    }
}

// The program is killed while entries pour in: the file stays sound, holds
// the entries in the order given without a gap, and misses at most those of
// the last second. The next run takes the dead one's lock over.
TEST_F(ArchiveTest, KillLosesAtMostTheLastSecondAndLeavesASoundFile) {
    constexpr int kMost = 100000;
    // The moment each entry was handed over, and how many were, shared with the child.
    auto* shared =
        static_cast<int64_t*>(::mmap(nullptr, (kMost + 1) * sizeof(int64_t), PROT_READ | PROT_WRITE,
                                     MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(shared, MAP_FAILED);
    auto* handed = new (shared + kMost) std::atomic<int64_t>(0);

    const pid_t child = ::fork();
    if (child == 0) {
        archive::Archive archive;  // the console's own rounds
        if (!archive.Open(path_.string())) ::_exit(3);
        for (int i = 0; i < kMost; ++i) {
            const archive::Stamp now = archive::LocalNow();
            const std::string text = " entry " + std::to_string(i);
            shared[i] = now.utcMs;
            archive.Append(MakeEntry(now.utcMs, text));
            handed->store(i + 1);
            std::this_thread::sleep_for(1ms);
        }
        ::_exit(0);
    }
    std::this_thread::sleep_for(1500ms);
    const int64_t killedAt = archive::LocalNow().utcMs;
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(RawDb(path_).Text("PRAGMA integrity_check"), "ok");
    const std::vector<std::string> texts = TextsOf(ReadAll(path_));
    for (std::size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(texts[i], " entry " + std::to_string(i));
    const int64_t count = handed->load();
    ASSERT_GT(count, 0);
    ASSERT_GT(texts.size(), 0u);
    if (static_cast<int64_t>(texts.size()) < count) {
        EXPECT_GT(shared[texts.size()], killedAt - 1000) << texts.size() << " of " << count;
    }
    ::munmap(shared, (kMost + 1) * sizeof(int64_t));

    archive::Archive next(QuickOptions());
    ASSERT_TRUE(next.Open(path_.string()));
    next.Append(MakeEntry(kDay0, " next run"));
    ASSERT_TRUE(next.Flush());
    EXPECT_EQ(TextsOf(ReadAll(path_)).back(), " next run");
}

}  // namespace
}  // namespace archive_test
