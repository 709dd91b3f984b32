#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

#include "archive/Archive.h"
#include "archive/Record.h"
#include "tests/archive/ArchiveRig.h"

namespace archive_test {
namespace {

using archive::Archive;
using archive::Kind;
using archive::Subject;
using plant::JournalColour;

void ExpectSameEntry(const archive::Row& row, const archive::Entry& entry) {
    EXPECT_EQ(row.time, entry.time) << entry.text;
    EXPECT_EQ(row.colour, entry.colour) << entry.text;
    EXPECT_EQ(row.kind, entry.kind) << entry.text;
    EXPECT_EQ(row.subject, entry.subject) << entry.text;
    EXPECT_EQ(row.detail, entry.detail) << entry.text;
    EXPECT_EQ(row.text, entry.text);
    EXPECT_EQ(row.source, entry.source) << entry.text;
}

// Every kind, subject range end, colour and sort of source, texts with CR TAB
// and Cyrillic, texts at and beyond the record's inline room, texts repeated
// with other sources; part of them handed over before the file is open, part
// in a later run of the program.
TEST_F(ArchiveTest, EveryEntryComesBackAsItWasHandedOverAcrossRuns) {
    const std::vector<Subject> subjects = {
        Subject(),          Subject::Device(1), Subject::Device(18), Subject::Route(1),
        Subject::Route(12), Subject::Silo(1),   Subject::Silo(4)};
    const std::vector<std::string> sources = {"", "Зернов (оператор)", "маршрут 3",
                                              "127.0.0.1:50312", "строка 12: dev 1 21"};
    const std::vector<JournalColour> colours = {JournalColour::Default, JournalColour::Red,
                                                JournalColour::Blue};
    std::vector<std::string> texts = {
        " Запуск системы",
        " Задвижка М1 Изменение состояния - \r\t\"ОТКРЫТО\"",
        " Технологическое событие \r\t Получена команда на запуск\r\tмаршрута №12",
        " Уровень в силосе №4 -\r\t Параметр вошел в верхнюю аварийную зону",
        "",
        std::string(archive::Record::kInline, 'x'),
        std::string(archive::Record::kInline + 1, 'y'),
        " Сервер Modbus не запущен: " + std::string(3000, 'z') + "\r\tконец",
    };
    std::vector<archive::Entry> entries;
    for (int i = 0; i < 40; ++i) {
        archive::Entry entry;
        entry.time = {kDay0 + i * 1234, static_cast<int16_t>(i % 3 == 0   ? 180
                                                             : i % 3 == 1 ? -300
                                                                          : 0)};
        entry.kind = static_cast<Kind>(1 + i % 10);
        entry.subject = subjects[i % subjects.size()];
        entry.colour = colours[i % colours.size()];
        entry.detail = static_cast<int16_t>(i - 20);
        entry.text = texts[i % texts.size()];
        // The inline-sized text gets no source, so text and source just fit.
        entry.source = i % texts.size() == 5 ? std::string_view() : sources[i % sources.size()];
        entries.push_back(entry);
    }

    {
        Archive archive(QuickOptions());
        for (int i = 0; i < 10; ++i) archive.Append(entries[i]);
        ASSERT_TRUE(archive.Open(path_.string()));
        for (int i = 10; i < 30; ++i) archive.Append(entries[i]);
        ASSERT_TRUE(archive.Flush());
        EXPECT_EQ(archive.Tally().written, 30u);
    }
    RawDb raw(path_);
    const int64_t distinctTexts = raw.Int("SELECT count(*) FROM texts");
    EXPECT_EQ(distinctTexts, static_cast<int64_t>(texts.size()));
    EXPECT_EQ(raw.Int("SELECT count(*) FROM sources"), static_cast<int64_t>(sources.size() - 1));
    {
        // The next run finds the texts it has stored before, and what it is
        // handed before it closes reaches the file without a flush.
        Archive archive(QuickOptions());
        ASSERT_TRUE(archive.Open(path_.string()));
        for (int i = 30; i < 40; ++i) archive.Append(entries[i]);
    }
    EXPECT_EQ(raw.Int("SELECT count(*) FROM texts"), distinctTexts);

    const std::vector<archive::Row> rows = ReadAll(path_);
    ASSERT_EQ(rows.size(), entries.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ExpectSameEntry(rows[i], entries[i]);
        if (i > 0) {
            EXPECT_GT(rows[i].id, rows[i - 1].id);
        }
    }
}

TEST_F(ArchiveTest, OpenRefusesWhatWaitingCannotMend) {
    Archive first(QuickOptions());
    ASSERT_TRUE(first.Open(path_.string()));
    EXPECT_THAT(first.Open(path_.string()).error, testing::HasSubstr("open already"));

    Archive second(QuickOptions());
    EXPECT_EQ(second.Open(path_.string()).error, path_.string() + ": in use by another program");
    EXPECT_EQ(second.Open(folder_.string()).error, folder_.string() + ": is a folder");
    EXPECT_FALSE(second.Open(""));

    archive::Options wrong = QuickOptions();
    wrong.days = -1;
    EXPECT_THAT(Archive(wrong).Open((folder_ / "other.db").string()).error,
                testing::HasSubstr("days out of range"));
    wrong = QuickOptions();
    wrong.commitInterval = 2s;
    EXPECT_THAT(Archive(wrong).Open((folder_ / "other.db").string()).error,
                testing::HasSubstr("commit interval"));
    EXPECT_FALSE(fs::exists(folder_ / "other.db"));
}

// A sample every controller cycle: the first of each 10-second period is kept,
// to a tenth of a tonne, halves to even.
TEST_F(ArchiveTest, SamplesKeepTheFirstOfEachPeriodToATenth) {
    {
        Archive archive(QuickOptions());
        ASSERT_TRUE(archive.Open(path_.string()));
        for (int tick = 0; tick < 120; ++tick) {
            archive::Sample sample;
            sample.time = {kDay0 + 5000 + tick * 300, 180};
            sample.silo = {tick + 0.25, 4500.25, 11250.75, -0.04};
            sample.total = 123456.78;
            sample.throughput = tick < 60 ? 360.0 : 0.0;
            sample.shipped = 1e6;
            sample.unloading = 180;
            archive.OfferSample(sample);
        }
        ASSERT_TRUE(archive.Flush());
    }
    std::string error;
    const auto reader = archive::Reader::Open(path_.string(), error);
    ASSERT_TRUE(reader) << error;
    std::vector<archive::Sample> samples;
    EXPECT_EQ(reader->Samples(kDay0 + 5000, kDay0 + 30000,
                              [&](const archive::Sample& s) { samples.push_back(s); }),
              "");
    // Ticks 0, 17 and 50 open the periods from 0, 10 and 20 s; the one from 30 s
    // (tick 84) lies beyond the range.
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_EQ(samples[0].time.utcMs, kDay0 + 5000);
    EXPECT_EQ(samples[1].time.utcMs, kDay0 + 5000 + 17 * 300);
    EXPECT_EQ(samples[2].time.utcMs, kDay0 + 5000 + 50 * 300);
    EXPECT_EQ(samples[1].time.offsetMinutes, 180);
    EXPECT_EQ(samples[0].silo, (std::array<double, 4>{0.2, 4500.2, 11250.8, 0.0}));
    EXPECT_DOUBLE_EQ(samples[1].silo[0], 17.2);
    EXPECT_DOUBLE_EQ(samples[2].total, 123456.8);
    EXPECT_DOUBLE_EQ(samples[2].throughput, 360.0);
    EXPECT_DOUBLE_EQ(samples[2].shipped, 1e6);
    EXPECT_DOUBLE_EQ(samples[2].unloading, 180.0);
}

// What entries a file holds, and how many the entries telling of losses count.
struct Outcome {
    std::vector<std::string> kept;
    uint64_t told = 0;
};

Outcome OutcomeOf(const fs::path& path) {
    Outcome outcome;
    for (const archive::Row& row : ReadAll(path)) {
        if (row.text.starts_with(" Потеряно записей архива: ")) {
            outcome.told += std::stoull(row.text.substr(row.text.find(": ") + 2));
            EXPECT_EQ(row.colour, JournalColour::Blue);
        } else {
            outcome.kept.push_back(row.text);
        }
    }
    return outcome;
}

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) texts.push_back(" entry " + std::to_string(i));
    return texts;
}

// The writer waits for another program's write lock while the host appends
// faster than a small queue takes: what the queue cannot take is counted and
// told of in the file once the lock is gone.
TEST_F(ArchiveTest, EntriesLostToAFullQueueAreToldOfInTheFile) {
    { Archive(QuickOptions()).Open(path_.string()); }
    archive::Options options = QuickOptions();
    options.queueCapacity = 16;
    options.busyTimeout = 300ms;
    auto holder = std::make_unique<RawDb>(path_);
    holder->Exec("BEGIN IMMEDIATE");

    const std::vector<std::string> texts = Numbered(100);
    Archive archive(options);
    ASSERT_TRUE(archive.Open(path_.string()));
    for (int i = 0; i < 100; ++i) archive.Append(MakeEntry(kDay0 + i, texts[i]));
    holder->Exec("COMMIT");
    holder.reset();
    ASSERT_TRUE(WaitFor([&] { return archive.Flush(); }));

    const Outcome outcome = OutcomeOf(path_);
    const uint64_t lost = archive.Tally().lost;
    EXPECT_GE(lost, 100u - 2 * 16);
    EXPECT_EQ(outcome.told, lost);
    EXPECT_EQ(outcome.kept.size() + lost, 100u);
}

// While the file stays locked, the writer keeps taking entries into memory up
// to the backlog limit; beyond it the oldest go, and one entry tells of them
// before the newest ones that were kept.
TEST_F(ArchiveTest, EntriesBeyondTheBacklogLimitLoseTheOldestAndAreToldOf) {
    { Archive(QuickOptions()).Open(path_.string()); }
    archive::Options options = QuickOptions();
    options.backlogLimit = 40;
    options.busyTimeout = 0ms;
    auto holder = std::make_unique<RawDb>(path_);
    holder->Exec("BEGIN IMMEDIATE");

    const std::vector<std::string> texts = Numbered(200);
    Archive archive(options);
    ASSERT_TRUE(archive.Open(path_.string()));
    for (int i = 0; i < 200; ++i) {
        archive.Append(MakeEntry(kDay0 + i, texts[i]));
        if (i % 20 == 0) {
            EXPECT_FALSE(archive.Flush());
        }
    }
    EXPECT_FALSE(archive.Flush());
    EXPECT_EQ(archive.Tally().waiting, 40u);
    holder->Exec("COMMIT");
    holder.reset();
    ASSERT_TRUE(WaitFor([&] { return archive.Flush(); }));

    const Outcome outcome = OutcomeOf(path_);
    EXPECT_EQ(archive.Tally().lost, 160u);
    EXPECT_EQ(outcome.told, 160u);
    EXPECT_EQ(outcome.kept, std::vector<std::string>(texts.begin() + 160, texts.end()));
    const std::vector<archive::Row> rows = ReadAll(path_);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().time.utcMs, kDay0 + 159);  // the last one lost
}

// Entries 400, 300 and 10 days old, retention of a year: the first go at
// opening, the last a day after they pass the year; texts and sources that
// only pruned entries used go with them.
TEST_F(ArchiveTest, RetentionPrunesAtOpeningAndOnceADay) {
    const int64_t now = kDay0 + 500 * kDayMs;
    {
        Archive seed(QuickOptions());
        ASSERT_TRUE(seed.Open(path_.string()));
        seed.Append(MakeEntry(now - 400 * kDayMs, " only old", Kind::System, {}, "old source"));
        seed.Append(MakeEntry(now - 400 * kDayMs, " old and new", Kind::System, {}, "shared"));
        seed.Append(MakeEntry(now - 300 * kDayMs, " old and new", Kind::System, {}, "shared"));
        seed.Append(MakeEntry(now - 10 * kDayMs, " ten days", Kind::System));
        for (const int64_t age : {400, 300, 10}) {
            archive::Sample sample;
            sample.time = {now - age * kDayMs, 0};
            seed.OfferSample(sample);
        }
        ASSERT_TRUE(seed.Flush());
    }

    std::atomic<int64_t> clock{now};
    archive::Options options = QuickOptions();
    options.days = 365;
    options.utcNowMs = [&clock] { return clock.load(); };
    Archive archive(options);
    ASSERT_TRUE(archive.Open(path_.string()));
    RawDb raw(path_);
    // Retention goes by small steps: entries, samples, then texts and sources.
    const auto counts = [&] {
        return std::vector<int64_t>{
            raw.Int("SELECT count(*) FROM entries"), raw.Int("SELECT count(*) FROM samples"),
            raw.Int("SELECT count(*) FROM texts"), raw.Int("SELECT count(*) FROM sources")};
    };
    ASSERT_TRUE(WaitFor([&] {
        return archive.Flush() && counts() == std::vector<int64_t>{2, 2, 2, 1};
    })) << testing::PrintToString(counts());
    EXPECT_THAT(TextsOf(ReadAll(path_)), testing::ElementsAre(" old and new", " ten days"));
    EXPECT_EQ(raw.Text("SELECT group_concat(text) FROM sources"), "shared");

    // 357 days on, the ten-day-old entry has passed the year by two days: the
    // next daily pass takes it, and its text, which is kept a day longer.
    clock = now + 357 * kDayMs;
    archive.Append(MakeEntry(clock, " today", Kind::System));
    ASSERT_TRUE(WaitFor([&] {
        return archive.Flush() && counts() == std::vector<int64_t>{1, 0, 1, 0};
    })) << testing::PrintToString(counts());
    EXPECT_THAT(TextsOf(ReadAll(path_)), testing::ElementsAre(" today"));
}

}  // namespace
}  // namespace archive_test
