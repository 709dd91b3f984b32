// The silo park trend and the equipment figures:
//  - drawing 30 days of 10-second samples of the 7 series (goal: 100 ms);
//  - a live update, one new sample appended and the plot drawn when the
//    sample changes it (goal: 5 ms), in the window's first view (24 h) and
//    over all 30 days;
//  - the equipment figures of the 18 devices over a 1,000,000-entry archive
//    (goal: 500 ms).
// The plot is drawn off screen at the window's size; a drawing is a full
// replot and its copy to the widget.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

#include "archive/Equipment.h"
#include "archive/Reader.h"
#include "bench/YearArchive.h"
#include "console/EquipmentModel.h"
#include "console/TrendPlot.h"

namespace {

constexpr int64_t kStartMs = 1'781'222'400'000;  // 2026-06-12 00:00 UTC
constexpr int kSamples30Days = 30 * 8640;

// A month of a working terminal: stocks that fill and empty in turns, a
// throughput that comes and goes, a shipped tonnage that grows.
archive::Sample SampleAt(int i) {
    archive::Sample s;
    s.time = {kStartMs + i * 10'000LL, 180};
    const double wave = std::sin(i / 5000.0);
    s.silo = {7500.0 + 7000.0 * wave, 4500.0 + 3000.0 * std::cos(i / 3000.0), 11250.0 - i * 0.01,
              7500.0 + (i % 1000) * 0.5};
    s.total = s.silo[0] + s.silo[1] + s.silo[2] + s.silo[3];
    s.throughput = (i / 360) % 3 == 0 ? 358.0 + i % 5 : 0.0;
    s.shipped = i * 0.1;
    s.unloading = 60.0 * (i % 4);
    return s;
}

// A plot of the window's size, shown, holding 30 days of samples.
std::unique_ptr<console::TrendPlot> MonthPlot() {
    auto plot = std::make_unique<console::TrendPlot>();
    plot->resize(980, 520);
    plot->show();
    console::SeriesBuilder builder;
    for (int i = 0; i < kSamples30Days; ++i) builder.Add(SampleAt(i));
    plot->SetData(builder.Data(), kStartMs / 1000.0, kStartMs / 1000.0 + 30 * 86400.0);
    plot->replot(QCustomPlot::rpImmediateRefresh);
    return plot;
}

void BM_Draw30Days7Series(benchmark::State& state) {
    const auto plot = MonthPlot();
    for (auto _ : state) plot->replot(QCustomPlot::rpImmediateRefresh);
    state.counters["points"] = 7.0 * kSamples30Days;
}
BENCHMARK(BM_Draw30Days7Series)->Unit(benchmark::kMillisecond);

// The samples of 30 days into the series' containers, as the window's reader
// hands them over.
void BM_Build30DaysOfSeries(benchmark::State& state) {
    std::vector<archive::Sample> samples;
    for (int i = 0; i < kSamples30Days; ++i) samples.push_back(SampleAt(i));
    for (auto _ : state) {
        console::SeriesBuilder builder;
        for (const archive::Sample& sample : samples) builder.Add(sample);
        benchmark::DoNotOptimize(builder.Data());
    }
}
BENCHMARK(BM_Build30DaysOfSeries)->Unit(benchmark::kMillisecond);

// One new sample appended, with 30 days loaded; the view shows the last 24
// hours (0) or all 30 days (1) and follows the new sample. The plot is drawn
// only when the sample changes the picture (the counter says how often: the
// month's stocks and tonnage move a pixel every few dozen samples).
void BM_LiveSample(benchmark::State& state) {
    const auto plot = MonthPlot();
    const double endS = kStartMs / 1000.0 + 30 * 86400.0;
    if (state.range(0) == 0) plot->TimeAxis()->setRange(endS - 86400.0, endS);
    plot->replot(QCustomPlot::rpImmediateRefresh);
    const int drawnBefore = plot->Drawings();
    int i = kSamples30Days;
    for (auto _ : state) {
        plot->Append(SampleAt(i++));
        QCoreApplication::processEvents();
    }
    state.counters["drawn"] =
        benchmark::Counter(plot->Drawings() - drawnBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LiveSample)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// The same, each new sample drawn: what a sample that changes the picture costs.
void BM_LiveSampleDrawn(benchmark::State& state) {
    const auto plot = MonthPlot();
    const double endS = kStartMs / 1000.0 + 30 * 86400.0;
    if (state.range(0) == 0) plot->TimeAxis()->setRange(endS - 86400.0, endS);
    plot->replot(QCustomPlot::rpImmediateRefresh);
    int i = kSamples30Days;
    for (auto _ : state) {
        plot->Append(SampleAt(i++));
        plot->replot(QCustomPlot::rpImmediateRefresh);
    }
}
BENCHMARK(BM_LiveSampleDrawn)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// The equipment table over the year's archive of 1,000,000 entries, as the
// window counts it on its worker thread: a reader of its own opened on the
// file, the 18 devices' figures over the whole year, and the table's model
// filled with them.
void BM_EquipmentTableOfAYear(benchmark::State& state) {
    const std::string path = bench_year::TheYear().path.string();
    console::EquipmentModel model(',');
    int64_t taken = 0;
    for (auto _ : state) {
        std::string error;
        const auto reader = archive::Reader::Open(path, error);
        if (!reader) throw std::runtime_error(error);
        const archive::EquipmentFigures figures = archive::ReadEquipmentFigures(
            *reader, bench_year::kYearStart, bench_year::kYearStart + 366 * bench_year::kDayMs);
        if (!figures.error.empty()) throw std::runtime_error(figures.error);
        model.SetFigures(figures);
        taken = 0;
        for (const archive::DeviceFigures& device : figures.devices) taken += device.commandsTaken;
    }
    state.counters["commands"] = static_cast<double>(taken);
}
BENCHMARK(BM_EquipmentTableOfAYear)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    std::filesystem::remove_all(bench_year::Scratch(), error);
    return 0;
}
