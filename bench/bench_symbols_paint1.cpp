// Paint cost of the device symbols at the console's sizes, on an off-screen
// image through the QPainter canvas. Each iteration opens a painter and a
// canvas of its own, as a widget paint does, so nothing carries over.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "platform/canvas/QtCanvas.h"
#include "symbols/Conveyor.h"
#include "symbols/Latch.h"
#include "symbols/Noria.h"
#include "symbols/Pump.h"
#include "tests/support/RecordingCanvas.h"

namespace {

template <typename Symbol>
void PaintLoop(benchmark::State& state, Symbol& symbol) {
    platform::RecordingCanvas settle;
    symbol.Paint(settle);  // apply the size rule once
    QImage image(symbol.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (auto _ : state) {
        QPainter painter(&image);
        platform::QtCanvas canvas(painter);
        symbol.Paint(canvas);
        benchmark::ClobberMemory();
    }
}

void BM_PaintFan(benchmark::State& state) {
    symbols::TPump fan;
    fan.resize(30, 22);
    fan.setState(symbols::TState::Run);
    PaintLoop(state, fan);
}
BENCHMARK(BM_PaintFan);

void BM_PaintGateValve(benchmark::State& state) {
    symbols::TLatch latch;
    latch.setCloseUngle(90);
    latch.setUngle(45);
    PaintLoop(state, latch);
}
BENCHMARK(BM_PaintGateValve);

void BM_PaintConveyor(benchmark::State& state) {
    symbols::TConveyor conveyor;
    conveyor.resize(406, 25);
    conveyor.setState(symbols::TState::Run);
    conveyor.FlashTimerTick();
    PaintLoop(state, conveyor);
}
BENCHMARK(BM_PaintConveyor);

void BM_PaintBucketElevator(benchmark::State& state) {
    symbols::TNoria noria;
    noria.resize(96, 460);
    noria.setBottomOpientation(symbols::TNoria::TOrientation::noRight);
    noria.setState(symbols::TState::Run);
    noria.FlashTimerTick();
    PaintLoop(state, noria);
}
BENCHMARK(BM_PaintBucketElevator);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
