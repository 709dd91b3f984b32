// The event archive:
//  - the cost to the controller cycle of handing one entry over (goal: 1 µs);
//  - the writer's throughput, handing over to the file (goal: 50,000 entries/s);
//  - on an archive of 1,000,000 entries over a year: its size per entry (goal:
//    150 B), the first page of the window (goal: 1 s), a filtered day (goal:
//    100 ms), and the entries the equipment statistics read for 18 devices
//    over the year (goal: 500 ms);
//  - 30 days of samples for a trend.
// The year's archive is built once per run through the writer's own store, in
// batches of 100,000 entries a transaction; its build time is reported too.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "archive/Reader.h"
#include "archive/Store.h"
#include "plant/JournalTexts.h"
#include "plant/Plant.h"

namespace {

namespace fs = std::filesystem;
using archive::Kind;
using archive::Subject;
using plant::JournalColour;

constexpr int64_t kDayMs = 86'400'000;
constexpr int64_t kYearStart = 1'781'222'400'000;  // 2026-06-12 00:00 UTC
constexpr int kYearEntries = 1'000'000;

// An entry with its texts, as the plant would write it.
struct Sampled {
    std::string text;
    std::string source;
    Kind kind;
    Subject subject;
    JournalColour colour;
    int16_t detail;
};

// Entries of the kinds a working terminal writes, in roughly their shares:
// device commands and state changes most, then routes, silo zones, faults,
// clients and the system. The texts come from the plant's own formatting.
class Journal {
public:
    Journal() { plant::FillDefinitions(plant_); }

    Sampled Next() {
        const int dice = Roll(100);
        const int dev = 1 + Roll(18);
        const std::string& name = plant_.Dev[dev].Name;
        const int32_t kind = plant_.Dev[dev].Kind;
        const int route = 1 + Roll(12);
        const std::string routeSource = "маршрут " + std::to_string(route);
        if (dice < 45) {
            const auto event = kind == plant::kKindValve ? plant::DeviceEvent(Roll(3))
                                                         : plant::DeviceEvent(3 + Roll(2));
            return {plant::StateChangeText(name, event),
                    "",
                    Kind::StateChange,
                    Subject::Device(dev),
                    JournalColour::Default,
                    static_cast<int16_t>(Roll(3))};
        }
        if (dice < 75) {
            const int32_t command = 1 + Roll(3);
            return {plant::CommandReceivedText(name, kind, command),
                    Roll(2) ? routeSource : "Зернов (оператор)",
                    Kind::CommandTaken,
                    Subject::Device(dev),
                    JournalColour::Default,
                    static_cast<int16_t>(command)};
        }
        if (dice < 82)
            return {plant::RefusalText(name, Roll(2) ? plant::kModeLocal : plant::kModeRepair),
                    "Зернов (оператор)",
                    Kind::CommandRefused,
                    Subject::Device(dev),
                    JournalColour::Blue,
                    1};
        if (dice < 90)
            return {plant::RouteResultText(route, Roll(2)),
                    "",
                    Kind::RouteEvent,
                    Subject::Route(route),
                    JournalColour::Blue,
                    archive::route_event::kStarted};
        if (dice < 94) {
            const int silo = 1 + Roll(4);
            const auto zone = plant::LevelZone(Roll(5));
            return {plant::LevelZoneText(silo, zone),
                    "",
                    Kind::SiloZone,
                    Subject::Silo(silo),
                    zone == plant::LevelZone::UpperAlarm ? JournalColour::Red : JournalColour::Blue,
                    static_cast<int16_t>(zone)};
        }
        if (dice < 96)
            return {" " + name + " АВАРИЯ", "",
                    Kind::TrainerFault,     Subject::Device(dev),
                    JournalColour::Red,     plant::kFaultTrip};
        if (dice < 98) {
            const std::string peer = "192.168.1." + std::to_string(10 + Roll(5));
            return {" Подключен клиент Modbus " + peer + ":" + std::to_string(40000 + Roll(20000)),
                    peer,
                    Kind::ModbusClient,
                    {},
                    JournalColour::Blue,
                    1};
        }
        return {" Запуск системы", "", Kind::System, {}, JournalColour::Default, 0};
    }

private:
    int Roll(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
    plant::Plant plant_;
    std::mt19937 random_{20260612};
};

archive::Entry EntryOf(const Sampled& sampled, int64_t utcMs) {
    archive::Entry entry;
    entry.time = {utcMs, 180};
    entry.text = sampled.text;
    entry.source = sampled.source;
    entry.kind = sampled.kind;
    entry.subject = sampled.subject;
    entry.colour = sampled.colour;
    entry.detail = sampled.detail;
    return entry;
}

fs::path Scratch() {
    const fs::path folder =
        fs::temp_directory_path() / ("bench-archive-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

// The year's archive: 1,000,000 entries spread over 365 days, then 30 days of
// 10-second samples; built at the first use.
struct Year {
    fs::path path;
    double buildSeconds = 0;
    double bytesPerEntry = 0;
    double bytesPerSample = 0;
};

const Year& TheYear() {
    static const Year year = [] {
        Year made;
        made.path = Scratch() / "year.db";
        const auto start = std::chrono::steady_clock::now();
        archive::StoreFailure failure;
        auto store = archive::Store::Open(made.path.string(), std::chrono::seconds(1), failure);
        if (!store) throw std::runtime_error(failure.reason);
        Journal journal;
        std::mt19937 random(7);
        const int64_t spacing = 365 * kDayMs / kYearEntries;
        std::deque<archive::Record> batch;
        for (int i = 0; i < kYearEntries; ++i) {
            const Sampled sampled = journal.Next();
            const int64_t utc = kYearStart + i * spacing +
                                std::uniform_int_distribution<int64_t>(0, spacing - 1)(random);
            batch.emplace_back().SetEntry(EntryOf(sampled, utc));
            if (batch.size() == 100'000 || i + 1 == kYearEntries) {
                if (store->Write(batch, batch.size())) throw std::runtime_error("write failed");
                batch.clear();
            }
        }
        store.reset();  // a checkpoint into the file
        made.buildSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const auto entriesSize = fs::file_size(made.path);
        made.bytesPerEntry = static_cast<double>(entriesSize) / kYearEntries;

        store = archive::Store::Open(made.path.string(), std::chrono::seconds(1), failure);
        constexpr int kSamples = 30 * 8640;
        const int64_t from = kYearStart + 335 * kDayMs;
        for (int i = 0; i < kSamples; ++i) {
            archive::Sample sample;
            sample.time = {from + i * 10'000LL, 180};
            sample.silo = {15000.0 - i * 0.05, 4500.0 + i * 0.02, 11250.0, 7500.0 + (i % 100)};
            sample.total = sample.silo[0] + sample.silo[1] + sample.silo[2] + sample.silo[3];
            sample.throughput = i % 3 ? 360.0 : 0.0;
            sample.shipped = i * 0.1;
            sample.unloading = 60.0 * (i % 4);
            batch.emplace_back().SetSample(sample);
        }
        if (store->Write(batch, batch.size())) throw std::runtime_error("write failed");
        store.reset();
        made.bytesPerSample =
            static_cast<double>(fs::file_size(made.path) - entriesSize) / kSamples;
        return made;
    }();
    return year;
}

std::unique_ptr<archive::Reader> OpenYear() {
    std::string error;
    auto reader = archive::Reader::Open(TheYear().path.string(), error);
    if (!reader) throw std::runtime_error(error);
    return reader;
}

// One journal entry handed over to an open archive whose writer is running.
// Batches of 1000 (a burst far beyond any cycle's) with the writer catching
// up between them, so the queue never fills.
void BM_AppendEntry(benchmark::State& state) {
    const fs::path path = Scratch() / "append.db";
    archive::Archive archive;
    if (!archive.Open(path.string())) state.SkipWithError("no archive");
    Journal journal;
    std::vector<Sampled> sampled;
    for (int i = 0; i < 1000; ++i) sampled.push_back(journal.Next());
    int64_t utc = kYearStart;
    for (auto _ : state) {
        for (const Sampled& one : sampled) archive.Append(EntryOf(one, utc += 300));
        state.PauseTiming();
        archive.Flush();
        state.ResumeTiming();
    }
    state.counters["per_entry"] = benchmark::Counter(
        1000, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    if (archive.Tally().lost != 0) state.SkipWithError("entries were lost");
}
BENCHMARK(BM_AppendEntry)->Unit(benchmark::kMicrosecond);

// 100,000 entries from the host's hand into the file, through the queue and
// the writer thread; the host hands over as fast as the queue takes them.
void BM_WriterThroughput(benchmark::State& state) {
    Journal journal;
    std::vector<Sampled> sampled;
    for (int i = 0; i < 5000; ++i) sampled.push_back(journal.Next());
    constexpr int kEntries = 100'000;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path path = Scratch() / ("throughput-" + std::to_string(round++) + ".db");
        archive::Options options;
        options.queueCapacity = 1 << 16;
        archive::Archive archive(options);
        if (!archive.Open(path.string())) state.SkipWithError("no archive");
        state.ResumeTiming();
        int64_t utc = kYearStart;
        for (int i = 0; i < kEntries; ++i) {
            while (archive.Tally().waiting > options.queueCapacity - 16) std::this_thread::yield();
            archive.Append(EntryOf(sampled[i % sampled.size()], utc += 300));
        }
        if (!archive.Flush(std::chrono::minutes(1))) state.SkipWithError("not written");
        if (archive.Tally().lost != 0) state.SkipWithError("entries were lost");
        state.PauseTiming();
        fs::remove(path);
        state.ResumeTiming();
    }
    state.counters["entries_per_s"] =
        benchmark::Counter(kEntries, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WriterThroughput)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_YearBuiltAndItsSize(benchmark::State& state) {
    const Year& year = TheYear();
    for (auto _ : state) benchmark::DoNotOptimize(year.path);
    state.counters["build_s"] = year.buildSeconds;
    state.counters["bytes_per_entry"] = year.bytesPerEntry;
    state.counters["bytes_per_sample"] = year.bytesPerSample;
}
BENCHMARK(BM_YearBuiltAndItsSize)->Iterations(1);

// What the archive window does when it opens: open the file, read the newest
// page of 200.
void BM_YearFirstPage(benchmark::State& state) {
    TheYear();
    for (auto _ : state) {
        const auto reader = OpenYear();
        const archive::Page page = reader->Entries({}, std::nullopt, 200);
        if (page.rows.size() != 200) state.SkipWithError("short page");
    }
}
BENCHMARK(BM_YearFirstPage)->Unit(benchmark::kMillisecond);

// The same, 500 pages down: keyset paging costs what the first page does.
void BM_YearPage500(benchmark::State& state) {
    const auto reader = OpenYear();
    std::optional<archive::Position> after;
    for (int i = 0; i < 500; ++i) after = reader->Entries({}, after, 200).next;
    for (auto _ : state) benchmark::DoNotOptimize(reader->Entries({}, after, 200));
}
BENCHMARK(BM_YearPage500)->Unit(benchmark::kMillisecond);

// One day of the year (about 2,700 entries), filtered as an operator would:
// 0 colours and kinds, 1 one device, 2 a text search, 3 all of them; every
// page read.
void BM_YearFilteredDay(benchmark::State& state) {
    const auto reader = OpenYear();
    archive::Filter filter;
    filter.fromMs = kYearStart + 200 * kDayMs;
    filter.toMs = filter.fromMs + kDayMs;
    const int shape = static_cast<int>(state.range(0));
    if (shape == 0 || shape == 3) {
        filter.colours =
            archive::ColourBit(JournalColour::Red) | archive::ColourBit(JournalColour::Blue);
        filter.kinds = archive::KindBit(Kind::CommandRefused) |
                       archive::KindBit(Kind::TrainerFault) | archive::KindBit(Kind::SiloZone);
    }
    if (shape == 1 || shape == 3) filter.subject = Subject::Device(15);
    if (shape == 2 || shape == 3) filter.text = "конвейер 3.3";
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        std::optional<archive::Position> after;
        do {
            const archive::Page page = reader->Entries(filter, after, 200);
            rows += page.rows.size();
            after = page.next;
        } while (after);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_YearFilteredDay)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A text search over the whole year, first page: the worst an operator can ask.
void BM_YearSearchFirstPage(benchmark::State& state) {
    const auto reader = OpenYear();
    archive::Filter filter;
    filter.text = state.range(0) == 0 ? "задвижка м3" : "нет такого текста";
    for (auto _ : state) benchmark::DoNotOptimize(reader->Entries(filter, std::nullopt, 200));
}
BENCHMARK(BM_YearSearchFirstPage)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// What the equipment statistics read: for each of the 18 devices, its
// commands, refusals, state changes and faults over the whole year.
void BM_YearEquipmentStatistics(benchmark::State& state) {
    const auto reader = OpenYear();
    const unsigned kinds =
        archive::KindBit(Kind::CommandTaken) | archive::KindBit(Kind::CommandRefused) |
        archive::KindBit(Kind::StateChange) | archive::KindBit(Kind::TrainerFault);
    int64_t events = 0;
    for (auto _ : state) {
        events = 0;
        int64_t starts = 0;
        for (int dev = 1; dev <= 18; ++dev)
            reader->SubjectEvents(
                Subject::Device(dev), kinds, kYearStart, kYearStart + 366 * kDayMs,
                [&](const archive::SubjectEvent& event) {
                    ++events;
                    starts += event.kind == Kind::StateChange && event.detail == 0;
                });
        benchmark::DoNotOptimize(starts);
    }
    state.counters["entries"] = static_cast<double>(events);
}
BENCHMARK(BM_YearEquipmentStatistics)->Unit(benchmark::kMillisecond);

// The trend window over 30 days of 10-second samples.
void BM_Samples30Days(benchmark::State& state) {
    const auto reader = OpenYear();
    std::size_t count = 0;
    for (auto _ : state) {
        count = 0;
        reader->Samples(kYearStart, kYearStart + 366 * kDayMs,
                        [&](const archive::Sample&) { ++count; });
    }
    state.counters["samples"] = static_cast<double>(count);
}
BENCHMARK(BM_Samples30Days)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    fs::remove_all(Scratch(), error);
    return 0;
}
