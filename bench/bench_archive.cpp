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
#include "bench/YearArchive.h"

namespace {

using namespace bench_year;
using archive::Kind;
using archive::Subject;
using plant::JournalColour;

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
