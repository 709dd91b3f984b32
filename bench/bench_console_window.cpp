// The main window's costs: building and showing it, one full repaint of the
// running console, and one controller cycle of a quiet plant through the real
// widgets. Run headless (QT_QPA_PLATFORM=offscreen). The share of a core that a
// quiet running console takes on a real X server is measured by
// bench/quiet_cpu.sh.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "console/MainFrm.h"

namespace {

console::FrmMainServices Services(const QTemporaryDir& dir) {
    console::FrmMainServices services;
    services.statePath = dir.filePath("GrainTerminal.INI").toStdString();
    return services;
}

// A console past its start-up: tables filled, diagram shown, one cycle run.
std::unique_ptr<console::TFrmMain> RunningConsole(const QTemporaryDir& dir) {
    auto form = std::make_unique<console::TFrmMain>(Services(dir));
    form->FormActivate();
    for (int i = 0; i < 5; ++i) form->TimerInitializeTimer();
    form->TimerEmulCPUTimer();
    return form;
}

// From nothing to a window on the screen with its first paint done.
void BM_WindowCreateAndShow(benchmark::State& state) {
    QTemporaryDir dir;
    for (auto _ : state) {
        console::TFrmMain form(Services(dir));
        form.show();
        form.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.isVisible());
    }
}
BENCHMARK(BM_WindowCreateAndShow)->Unit(benchmark::kMillisecond);

// Every pixel of the running console, diagram and lower band, painted once.
void BM_FullRepaint(benchmark::State& state) {
    QTemporaryDir dir;
    auto form = RunningConsole(dir);
    QImage target(form->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        form->render(&target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

// One controller cycle with nothing moving: every widget already shows its
// value, so nothing is set and nothing repaints.
void BM_QuietControllerCycle(benchmark::State& state) {
    QTemporaryDir dir;
    auto form = RunningConsole(dir);
    for (auto _ : state) form->TimerEmulCPUTimer();
}
BENCHMARK(BM_QuietControllerCycle)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
