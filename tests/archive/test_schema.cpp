#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/archive/ArchiveRig.h"

namespace archive_test {
namespace {

using archive::Kind;
using archive::Subject;
using plant::JournalColour;

// An archive file of layout 1 as docs/archive.md describes it, written
// without the program: what the program writes today must stay readable as
// this, and a later layout must upgrade it.
constexpr const char* kLayout1 = R"sql(
PRAGMA journal_mode = WAL;
BEGIN;
CREATE TABLE texts (id INTEGER PRIMARY KEY, text TEXT NOT NULL UNIQUE, folded TEXT NOT NULL,
                    last_ms INTEGER NOT NULL);
CREATE TABLE sources (id INTEGER PRIMARY KEY, text TEXT NOT NULL UNIQUE, last_ms INTEGER NOT NULL);
CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, utc_ms INTEGER NOT NULL,
                      offset_min INTEGER NOT NULL, colour INTEGER NOT NULL, kind INTEGER NOT NULL,
                      subject INTEGER NOT NULL, detail INTEGER NOT NULL,
                      source_id INTEGER REFERENCES sources(id),
                      text_id INTEGER NOT NULL REFERENCES texts(id));
CREATE INDEX entries_by_time ON entries(utc_ms, id, kind, subject, colour, text_id);
CREATE INDEX entries_by_subject ON entries(subject, utc_ms, kind, detail);
CREATE TABLE samples (utc_ms INTEGER PRIMARY KEY, offset_min INTEGER NOT NULL,
                      silo1 INTEGER NOT NULL, silo2 INTEGER NOT NULL, silo3 INTEGER NOT NULL,
                      silo4 INTEGER NOT NULL, total INTEGER NOT NULL, throughput INTEGER NOT NULL,
                      shipped INTEGER NOT NULL, unloading INTEGER NOT NULL) WITHOUT ROWID;
INSERT INTO texts VALUES (7, ' Технологическое событие ' || char(13, 9) || ' Маршрут №3 запущен',
                          ' технологическое событие ' || char(13, 9) || ' маршрут №3 запущен',
                          1781222400000);
INSERT INTO sources VALUES (3, 'маршрут 3', 1781222400000);
INSERT INTO entries VALUES (41, 1781222400000, 180, 2, 4, 103, 3, 3, 7);
INSERT INTO entries VALUES (42, 1781222401000, -60, 1, 1, 18, 1, NULL, 7);
INSERT INTO samples VALUES (1781222400000, 180, 150000, 45002, 0, -5, 195002, 3600, 12345678, 1800);
PRAGMA user_version = 1;
PRAGMA application_id = 1196704082;
COMMIT;
)sql";

TEST_F(ArchiveTest, FileOfLayoutOneWrittenByHandIsReadAndWrittenOn) {
    RawDb(path_).Exec(kLayout1);
    const std::string route = " Технологическое событие \r\t Маршрут №3 запущен";

    std::vector<archive::Row> rows = ReadAll(path_);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, 41);
    EXPECT_EQ(rows[0].time, (archive::Stamp{kDay0, 180}));
    EXPECT_EQ(rows[0].colour, JournalColour::Blue);
    EXPECT_EQ(rows[0].kind, Kind::RouteEvent);
    EXPECT_EQ(rows[0].subject, Subject::Route(3));
    EXPECT_EQ(rows[0].detail, archive::route_event::kStarted);
    EXPECT_EQ(rows[0].source, "маршрут 3");
    EXPECT_EQ(rows[0].text, route);
    EXPECT_EQ(rows[1].colour, JournalColour::Red);
    EXPECT_EQ(rows[1].kind, Kind::CommandTaken);
    EXPECT_EQ(rows[1].subject, Subject::Device(18));
    EXPECT_EQ(rows[1].source, "");

    std::string error;
    const auto reader = archive::Reader::Open(path_.string(), error);
    ASSERT_TRUE(reader) << error;
    archive::Filter search;
    search.text = "МАРШРУТ №3";
    EXPECT_EQ(reader->Entries(search, std::nullopt, 10).rows.size(), 2u);
    std::vector<archive::Sample> samples;
    reader->Samples(kDay0, kDay0 + 1, [&](const archive::Sample& s) { samples.push_back(s); });
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_EQ(samples[0].silo, (std::array<double, 4>{15000.0, 4500.2, 0.0, -0.5}));
    EXPECT_DOUBLE_EQ(samples[0].total, 19500.2);
    EXPECT_DOUBLE_EQ(samples[0].throughput, 360.0);
    EXPECT_DOUBLE_EQ(samples[0].shipped, 1234567.8);
    EXPECT_DOUBLE_EQ(samples[0].unloading, 180.0);

    {
        archive::Archive archive(QuickOptions());
        ASSERT_TRUE(archive.Open(path_.string()));
        archive.Append(
            MakeEntry(kDay0 + 5000, route, Kind::RouteEvent, Subject::Route(3), "маршрут 3"));
        ASSERT_TRUE(archive.Flush());
    }
    rows = ReadAll(path_);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].id, 43);
    EXPECT_EQ(rows[2].text, route);
    RawDb raw(path_);
    EXPECT_EQ(raw.Int("SELECT count(*) FROM texts"), 1);
    EXPECT_EQ(raw.Int("SELECT count(*) FROM sources"), 1);
    EXPECT_EQ(raw.Int("PRAGMA user_version"), 1);
}

// A file with no layout yet (version 0): an empty file, or an SQLite
// database that holds nothing.
TEST_F(ArchiveTest, FileOfLayoutZeroBecomesAnArchive) {
    const std::vector<std::pair<std::string, std::function<void(const fs::path&)>>> makers = {
        {"empty file", [](const fs::path& path) { WriteFile(path, ""); }},
        {"empty database",
         [](const fs::path& path) { RawDb(path).Exec("CREATE TABLE t(x); DROP TABLE t;"); }},
    };
    for (const auto& [name, make] : makers) {
        SCOPED_TRACE(name);
        const fs::path path = folder_ / (name + ".db");
        make(path);
        {
            archive::Archive archive(QuickOptions());
            ASSERT_TRUE(archive.Open(path.string()));
            archive.Append(MakeEntry(kDay0, " Запуск системы"));
            ASSERT_TRUE(archive.Flush());
        }
        EXPECT_THAT(TextsOf(ReadAll(path)), testing::ElementsAre(" Запуск системы"));
        RawDb raw(path);
        EXPECT_EQ(raw.Int("PRAGMA user_version"), 1);
        EXPECT_EQ(raw.Int("PRAGMA application_id"), 0x47544152);
        EXPECT_EQ(raw.Text("PRAGMA journal_mode"), "wal");
        EXPECT_EQ(raw.Text("PRAGMA integrity_check"), "ok");
    }
}

}  // namespace
}  // namespace archive_test
