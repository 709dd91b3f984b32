#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/archive/ArchiveRig.h"

namespace archive_test {
namespace {

using archive::Filter;
using archive::Kind;
using archive::KindBit;
using archive::Subject;
using plant::JournalColour;

struct Seed {
    int seconds;  // after kDay0
    Kind kind;
    Subject subject;
    JournalColour colour;
    std::string text;
    std::string source;
};

// Entries 0–10 are the journal's families; entry 6 came in late with an
// earlier time. The fillers after them share their times in fours.
std::vector<Seed> Seeds() {
    std::vector<Seed> seeds = {
        {10, Kind::System, {}, JournalColour::Default, " Запуск системы", ""},
        {20, Kind::CommandTaken, Subject::Device(1), JournalColour::Default,
         " Задвижка М1 Получена команда - \r\t\"ОТКРЫТЬ\"", "Зернов (оператор)"},
        {20, Kind::StateChange, Subject::Device(1), JournalColour::Default,
         " Задвижка М1 Изменение состояния - \r\t\"ПРОМЕЖУТОЧНОЕ ПОЛОЖЕНИЕ\"", ""},
        {20, Kind::StateChange, Subject::Device(1), JournalColour::Default,
         " Задвижка М1 Изменение состояния - \r\t\"ОТКРЫТО\"", ""},
        {30, Kind::CommandRefused, Subject::Device(15), JournalColour::Blue,
         " Конвейер 3.3 Команда управления\r\tотклонена - устройство в местном "
         "режиме\r\tуправления",
         "127.0.0.1:50312"},
        {40, Kind::RouteEvent, Subject::Route(3), JournalColour::Blue,
         " Технологическое событие \r\t Маршрут №3 запущен", ""},
        {15, Kind::SiloZone, Subject::Silo(2), JournalColour::Red,
         " Уровень в силосе №2 -\r\t Параметр вошел в верхнюю аварийную зону", ""},
        {50, Kind::TemperatureAlarm, Subject::Silo(4), JournalColour::Red,
         " Повышение температуры в силосе №4", ""},
        {50,
         Kind::ModbusClient,
         {},
         JournalColour::Blue,
         " Подключен клиент Modbus 127.0.0.1:50312 — 100% _x_",
         ""},
        {60, Kind::TrainerFault, Subject::Device(14), JournalColour::Red, " Конвейер 3.2 АВАРИЯ",
         ""},
        {70, Kind::Wagon, {}, JournalColour::Default, " Ёлка у ЁЛКИ", ""},
    };
    for (int i = 0; i < 100; ++i)
        seeds.push_back({100 + i / 4, Kind::StateChange, Subject::Device(1 + i % 18),
                         JournalColour::Default, i % 2 ? " \"ВКЛЮЧЕНО\"" : " \"ВЫКЛЮЧЕНО\"", ""});
    return seeds;
}

class ReaderTest : public ArchiveTest {
protected:
    ReaderTest() {
        archive::Archive archive(QuickOptions());
        EXPECT_TRUE(archive.Open(path_.string()));
        for (const Seed& seed : seeds_)
            archive.Append(MakeEntry(kDay0 + seed.seconds * 1000, seed.text, seed.kind,
                                     seed.subject, seed.source, seed.colour));
        EXPECT_TRUE(archive.Flush());
        std::string error;
        reader_ = archive::Reader::Open(path_.string(), error);
        EXPECT_TRUE(reader_) << error;
    }

    // The seeds a filter takes, newest first, as indices into the seeds.
    std::vector<int> Taken(const Filter& filter, int limit) {
        std::vector<int> taken;
        std::optional<archive::Position> after;
        for (int pages = 0; pages < 1000; ++pages) {
            const archive::Page page = reader_->Entries(filter, after, limit);
            EXPECT_EQ(page.error, "");
            for (const archive::Row& row : page.rows) taken.push_back(static_cast<int>(row.id) - 1);
            if (!page.next) break;
            after = page.next;
        }
        return taken;
    }

    const std::vector<Seed> seeds_ = Seeds();
    std::unique_ptr<archive::Reader> reader_;
};

// Pages of seven, taken one after the other, give every entry once, by time
// and, within a time, by arrival, newest first.
TEST_F(ReaderTest, PagesTogetherGiveEveryEntryNewestFirst) {
    std::vector<int> expected(seeds_.size());
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<int>(i);
    std::sort(expected.begin(), expected.end(), [&](int a, int b) {
        return seeds_[a].seconds != seeds_[b].seconds ? seeds_[a].seconds > seeds_[b].seconds
                                                      : a > b;
    });
    EXPECT_EQ(Taken({}, 7), expected);
    EXPECT_EQ(Taken({}, 1000), expected);
}

struct FilterCase {
    std::string name;
    Filter filter;
    std::vector<int> expected;  // seeds, newest first
};

Filter Among(Filter filter) {
    filter.fromMs = std::max(filter.fromMs, kDay0);
    filter.toMs = std::min(filter.toMs, kDay0 + 95'000);
    return filter;
}

std::vector<FilterCase> FilterCases() {
    const auto with = [](auto set) {
        Filter filter;
        set(filter);
        return Among(filter);
    };
    const auto text = [&](std::string words) { return with([&](Filter& f) { f.text = words; }); };
    return {
        {"Everything", Among({}), {10, 9, 8, 7, 5, 4, 3, 2, 1, 6, 0}},
        {"Red",
         with([](Filter& f) { f.colours = archive::ColourBit(JournalColour::Red); }),
         {9, 7, 6}},
        {"NoColour", with([](Filter& f) { f.colours = 0; }), {}},
        {"CommandsAndStates",
         with(
             [](Filter& f) { f.kinds = KindBit(Kind::StateChange) | KindBit(Kind::CommandTaken); }),
         {3, 2, 1}},
        {"Device1", with([](Filter& f) { f.subject = Subject::Device(1); }), {3, 2, 1}},
        {"Route3", with([](Filter& f) { f.subject = Subject::Route(3); }), {5}},
        {"NoSubject", with([](Filter& f) { f.subject = Subject(); }), {10, 8, 0}},
        {"From20To50",
         with([](Filter& f) {
             f.fromMs = kDay0 + 20'000;
             f.toMs = kDay0 + 50'000;
         }),
         {5, 4, 3, 2, 1}},
        {"BlueRoutesAndClients",
         with([](Filter& f) {
             f.colours = archive::ColourBit(JournalColour::Blue);
             f.kinds =
                 KindBit(Kind::RouteEvent) | KindBit(Kind::ModbusClient) | KindBit(Kind::Wagon);
         }),
         {8, 5}},
        {"CyrillicLowerFindsUpper", text("задвижка м1"), {3, 2, 1}},
        {"WholeWordOnly", text("открыто"), {3}},
        {"YoInEitherCase", text("ёлки"), {10}},
        {"AcrossTheLineBreak", text("режиме\r\tуправления"), {4}},
        {"PercentIsAPercent", text("%"), {8}},
        {"UnderscoreIsAnUnderscore", text("_x_"), {8}},
        {"LatinIsNotCyrillic", text("m1"), {}},
        {"NumberSign", text("МАРШРУТ №3"), {5}},
    };
}

void PrintTo(const FilterCase& filterCase, std::ostream* out) {
    *out << filterCase.name;
}

class ReaderFilterTest : public ReaderTest, public testing::WithParamInterface<FilterCase> {};

TEST_P(ReaderFilterTest, NewestFirstAsAsked) {
    EXPECT_EQ(Taken(GetParam().filter, 2), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Filters, ReaderFilterTest, testing::ValuesIn(FilterCases()),
                         [](const auto& info) { return info.param.name; });

// A live view asks for what came in after the last entry it shows, while the
// archive writes on; its reader sees each new commit.
TEST_F(ReaderTest, SinceGivesWhatCameInLaterInArrivalOrder) {
    int64_t last = 0;
    EXPECT_EQ(reader_->LastId(last), "");
    EXPECT_EQ(last, static_cast<int64_t>(seeds_.size()));

    Filter red;
    red.colours = archive::ColourBit(JournalColour::Red);
    std::vector<int64_t> ids;
    for (const archive::Row& row : reader_->Since(5, red, 100).rows) ids.push_back(row.id - 1);
    EXPECT_THAT(ids, testing::ElementsAre(6, 7, 9));

    archive::Archive archive(QuickOptions());
    ASSERT_TRUE(archive.Open(path_.string()));
    for (int round = 0; round < 3; ++round) {
        const std::string text = " later " + std::to_string(round);
        archive.Append(MakeEntry(kDay0, text, Kind::System, {}, {}, JournalColour::Red));
        ASSERT_TRUE(archive.Flush());
        const archive::Page page = reader_->Since(last, red, 100);
        ASSERT_EQ(page.rows.size(), 1u) << round;
        EXPECT_EQ(page.rows[0].text, text);
        last = page.rows[0].id;
    }
}

// The figures per device read a subject's entries of some kinds in a range,
// oldest first.
TEST_F(ReaderTest, SubjectEventsGiveOneDevicesEntriesOfTheKindsAskedForInTimeOrder) {
    std::vector<std::pair<int64_t, Kind>> events;
    EXPECT_EQ(reader_->SubjectEvents(
                  Subject::Device(1), KindBit(Kind::StateChange) | KindBit(Kind::CommandTaken),
                  kDay0, kDay0 + 105'000,
                  [&](const archive::SubjectEvent& event) {
                      events.emplace_back((event.utcMs - kDay0) / 1000, event.kind);
                  }),
              "");
    // Device 1's fillers are 0 and 18 (at 100 s and 104 s); 36 (at 109 s) lies beyond.
    EXPECT_THAT(events, testing::UnorderedElementsAre(testing::Pair(20, Kind::CommandTaken),
                                                      testing::Pair(20, Kind::StateChange),
                                                      testing::Pair(20, Kind::StateChange),
                                                      testing::Pair(100, Kind::StateChange),
                                                      testing::Pair(104, Kind::StateChange)));
    EXPECT_TRUE(std::is_sorted(events.begin(), events.end(),
                               [](const auto& a, const auto& b) { return a.first < b.first; }));
}

}  // namespace
}  // namespace archive_test
