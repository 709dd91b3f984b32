// Cost of one journal entry as the journal grows, and the memory each entry
// holds. The journal is never trimmed, so an entry late in a long shift must
// cost about what an early one does: the gate below allows at most twice as
// much for entry 100,000 as for entry 100, and under 1 KB of memory per entry.
// Each append is followed by the delivery of the events it posted (scroll bar
// range changes), as the console's event loop does between timer ticks.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <time.h>

#include <QApplication>
#include <QDateTime>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "console/Journal.h"

namespace {

// The gate compares processor time of this thread: the machine may be busy
// with other work, which stretches wall time but not the work an append does.
double ThreadCpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

constexpr int kEarly = 100;
constexpr int kLate = 100'000;
constexpr int kBatch = 200;
constexpr int kBatches = 7;

// A shown journal of the console's size with a fixed clock.
struct Fixture {
    Fixture() {
        view.resize(336, 130);
        view.show();
    }
    // Alternates the entry families the controller writes most: plain,
    // two-line blue and three-line red.
    void Append(int i) {
        AppendOnly(i);
        QCoreApplication::sendPostedEvents();
    }
    void AppendOnly(int i) {
        switch (i % 3) {
            case 0:
                journal.Append(" Задвижка М3 Изменение состояния - \r\t\"ОТКРЫТО\"",
                               plant::JournalColour::Default);
                break;
            case 1:
                journal.Append(" Технологическое событие \r\t Маршрут №7 запущен",
                               plant::JournalColour::Blue);
                break;
            default:
                journal.Append(" Уровень в силосе №2 -\r\t Параметр вошел в верхнюю аварийную зону",
                               plant::JournalColour::Red);
                break;
        }
    }
    void FillTo(int entries) {
        while (count < entries) Append(count++);
    }
    // Median processor time of one append over several batches, in nanoseconds.
    double MedianAppendNs() {
        std::vector<double> batches;
        for (int b = 0; b < kBatches; ++b) {
            const double start = ThreadCpuNs();
            for (int i = 0; i < kBatch; ++i) Append(count++);
            batches.push_back((ThreadCpuNs() - start) / kBatch);
        }
        std::sort(batches.begin(), batches.end());
        return batches[batches.size() / 2];
    }

    console::JournalView view;
    console::Journal journal{view, [] { return QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)); }};
    int count = 0;
};

void BM_JournalAppendAt(benchmark::State& state) {
    Fixture f;
    f.FillTo(static_cast<int>(state.range(0)) - 1);
    for (auto _ : state) f.Append(f.count++);
    state.counters["entries"] = f.count;
}
BENCHMARK(BM_JournalAppendAt)->Arg(kEarly)->Arg(kLate)->Iterations(kBatch);

// The gate: entry 100,000 against entry 100, measured the same way.
void BM_JournalLateToEarlyCost(benchmark::State& state) {
    for (auto _ : state) {
        Fixture f;
        f.FillTo(kEarly - 1);
        const double early = f.MedianAppendNs();
        f.FillTo(kLate - 1);
        const double late = f.MedianAppendNs();
        state.counters["early_ns"] = early;
        state.counters["late_ns"] = late;
        state.counters["ratio"] = late / early;
        if (late > 2.0 * early)
            state.SkipWithError("entry 100,000 costs more than twice entry 100");
    }
}
BENCHMARK(BM_JournalLateToEarlyCost)->Iterations(1)->Unit(benchmark::kMillisecond);

// Heap in use, both in the arena and in blocks mapped on their own (the
// document's text buffer grows large enough to be mapped).
size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_JournalMemoryPerEntry(benchmark::State& state) {
    for (auto _ : state) {
        const size_t before = HeapInUse();
        auto f = std::make_unique<Fixture>();
        f->FillTo(kLate);
        const size_t after = HeapInUse();
        const double perEntry = static_cast<double>(after - before) / kLate;
        state.counters["bytes_per_entry"] = perEntry;
        if (perEntry >= 1024.0) {
            std::fprintf(stderr, "memory per entry: %.0f bytes\n", perEntry);
            state.SkipWithError("an entry holds 1 KB or more");
        }
    }
}
BENCHMARK(BM_JournalMemoryPerEntry)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
