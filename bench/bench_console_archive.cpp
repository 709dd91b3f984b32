// The event archive in the console:
//  - the extra cost of one journal entry with the archive on: what the journal
//    does besides showing it (goal: 1 µs);
//  - one quiet controller cycle of the running console with the archive on,
//    against the same without (the sample it offers every cycle);
//  - "Журналы" on an archive of 1,000,000 entries over a year: the window
//    built, shown and its first page read (goal: 1 s).
// Run headless (QT_QPA_PLATFORM=offscreen).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

#include "bench/YearArchive.h"
#include "console/ArchiveLink.h"
#include "console/ArchiveModel.h"
#include "console/ArchiveWindow.h"
#include "console/LocalClock.h"
#include "console/MainFrm.h"
#include "platform/services/MessageBoxes.h"
#include "platform/services/SaveFileDialog.h"
#include "state/ArchiveSection.h"

namespace {

class SilentJournal : public plant::JournalOutlet {
public:
    void Append(const std::string&, plant::JournalColour) override {}
};

class NoMessages : public platform::MessageBoxes {
public:
    platform::MsgResult Show(const std::string&, const std::string&, platform::MsgButtons,
                             platform::MsgIcon) override {
        return platform::MsgResult::Ok;
    }
};

class NoDialog : public platform::SaveFileDialog {
public:
    std::optional<std::string> Ask(QWidget*, const std::string&, const std::string&,
                                   const std::string&) override {
        return std::nullopt;
    }
};

state::ArchiveSection Section(const std::string& path) {
    state::ArchiveSection section;
    section.wanted = true;
    section.settings.path = path;
    section.settings.days = 0;  // the year's file lies wherever the clock is
    return section;
}

// The archive's part of one journal entry: the stamp's conversion and the
// hand-over to the writer's queue (with the making of the moment from the
// console's clock, which the journal does anyway). Batches of 1000 entries, with the writer
// catching up between them so the queue never fills.
void BM_JournalEntryExtraWithArchive(benchmark::State& state) {
    QTemporaryDir dir;
    SilentJournal journal;
    console::ArchiveLink link(journal, console::LocalNow);
    link.Start(Section(dir.filePath("GrainTerminal.db").toStdString()));
    const std::string body = " Конвейер 3.3 Получена команда - \r\t\"ВКЛЮЧИТЬ\"";
    const plant::JournalTag tag =
        plant::DeviceTag(plant::EntryKind::CommandTaken, 15, plant::kCmdOpen, "маршрут 1");
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            link.Record(console::LocalNow(), body, plant::JournalColour::Default, tag);
        state.PauseTiming();
        link.Flush();
        state.ResumeTiming();
    }
    state.counters["per_entry"] = benchmark::Counter(
        1000, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_JournalEntryExtraWithArchive)->Unit(benchmark::kMicrosecond);

// A console past its start-up, with or without the section [Archive].
std::unique_ptr<console::TFrmMain> RunningConsole(const QTemporaryDir& dir, bool archive) {
    const std::string statePath = dir.filePath("GrainTerminal.INI").toStdString();
    std::ofstream(statePath, std::ios::binary) << (archive ? "[Archive]\n" : "");
    console::FrmMainServices services;
    services.statePath = statePath;
    auto form = std::make_unique<console::TFrmMain>(services);
    form->FormActivate();
    for (int i = 0; i < 5; ++i) form->TimerInitializeTimer();
    form->TimerEmulCPUTimer();
    return form;
}

// One controller cycle with nothing moving; range 1 with the archive on.
void BM_QuietCycle(benchmark::State& state) {
    QTemporaryDir dir;
    auto form = RunningConsole(dir, state.range(0) == 1);
    for (auto _ : state) form->TimerEmulCPUTimer();
}
BENCHMARK(BM_QuietCycle)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

// "Журналы" with the archive holding a year: the window made, shown, and its
// first page of the last 24 hours' entries read, as the operator sees it;
// then the same with the whole year in range.
void BM_WindowOpensOnAYear(benchmark::State& state) {
    const bench_year::Year& year = bench_year::TheYear();
    SilentJournal journal;
    // The year's last day is "now", so the last 24 hours hold its entries.
    const QDateTime yearEnd =
        QDateTime::fromMSecsSinceEpoch(bench_year::kYearStart + 365 * bench_year::kDayMs);
    console::ArchiveLink link(journal, [yearEnd] { return yearEnd; });
    link.Start(Section(year.path.string()));
    NoMessages messages;
    NoDialog dialog;
    int rows = 0;
    for (auto _ : state) {
        console::ArchiveWindow window(
            link, messages, dialog, [yearEnd] { return yearEnd; }, ',');
        window.Open();
        QApplication::processEvents();
        rows = window.Model().rowCount();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_WindowOpensOnAYear)->Unit(benchmark::kMillisecond);

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
