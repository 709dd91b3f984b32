// Paint cost of the silo, pipes, elbow, LED board and title panel at the
// console's sizes. BM_Draw*: the full drawing through the QPainter canvas onto
// an off-screen image (what a symbol costs when its look has changed).
// BM_Screen*: a repaint of the shown control, which lays its kept drawing (or,
// for the LED board, its cell images) onto the screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include "platform/canvas/QtImage.h"
#include "symbols/LEDBoardLook.h"
#include "symbols/LEDTablo.h"
#include "symbols/Pipe.h"
#include "symbols/PipeTurn.h"
#include "symbols/Silo.h"
#include "symbols/Title.h"

namespace {

using namespace symbols;

template <typename Symbol>
void PaintLoop(benchmark::State& state, Symbol& symbol) {
    platform::QtImage image(symbol.width(), symbol.height());
    symbol.Paint(image.canvas());  // settle the size rule
    for (auto _ : state) {
        symbol.Paint(image.canvas());
        benchmark::ClobberMemory();
    }
}

void ShowAndSettle(QWidget& widget) {
    widget.show();
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

void BM_DrawStorageSilo(benchmark::State& state) {
    TSilo silo;
    silo.resize(70, 80);
    silo.setCover(20);
    PaintLoop(state, silo);
}
BENCHMARK(BM_DrawStorageSilo);

void BM_DrawPipe2(benchmark::State& state) {
    TPipe pipe;
    pipe.resize(10, 112);
    pipe.setOpientation(TPipeOrientation::poVertical);
    pipe.setColored(true);
    PaintLoop(state, pipe);
}
BENCHMARK(BM_DrawPipe2);

void BM_DrawPipeTurn1(benchmark::State& state) {
    TPipeTurn turn;
    turn.setDiameter(6);
    turn.setRadiusTurn(10);
    turn.setColored(true);
    PaintLoop(state, turn);
}
BENCHMARK(BM_DrawPipeTurn1);

void BM_DrawLedBoard(benchmark::State& state) {
    TLEDTablo board;
    SetUpAsConsoleBoard(board);
    board.setValue(4523.7L);
    PaintLoop(state, board);
}
BENCHMARK(BM_DrawLedBoard);

// A repaint of a shown control with nothing new.
template <typename Symbol>
void RepaintLoop(benchmark::State& state, Symbol& symbol) {
    ShowAndSettle(symbol);
    for (auto _ : state) symbol.repaint();
}

void BM_ScreenStorageSilo(benchmark::State& state) {
    TSilo silo;
    silo.resize(70, 80);
    silo.setCover(20);
    RepaintLoop(state, silo);
}
BENCHMARK(BM_ScreenStorageSilo);

void BM_ScreenPipe2(benchmark::State& state) {
    TPipe pipe;
    pipe.resize(10, 112);
    pipe.setOpientation(TPipeOrientation::poVertical);
    RepaintLoop(state, pipe);
}
BENCHMARK(BM_ScreenPipe2);

// The controller's change of Colored: the pipe draws anew once, then shows it.
void BM_ScreenPipe2ColoredFlip(benchmark::State& state) {
    TPipe pipe;
    pipe.resize(10, 112);
    pipe.setOpientation(TPipeOrientation::poVertical);
    ShowAndSettle(pipe);
    for (auto _ : state) {
        pipe.setColored(!pipe.Colored());
        pipe.repaint();
    }
}
BENCHMARK(BM_ScreenPipe2ColoredFlip);

void BM_ScreenPipeTurn1(benchmark::State& state) {
    TPipeTurn turn;
    turn.setDiameter(6);
    turn.setRadiusTurn(10);
    RepaintLoop(state, turn);
}
BENCHMARK(BM_ScreenPipeTurn1);

void BM_ScreenLedBoard(benchmark::State& state) {
    TLEDTablo board;
    SetUpAsConsoleBoard(board);
    board.setValue(4523.7L);
    RepaintLoop(state, board);
}
BENCHMARK(BM_ScreenLedBoard);

// A controller tick's new total on a shown board: the last digit changes,
// that cell is repainted at once on screen.
void BM_ScreenLedValueOneCell(benchmark::State& state) {
    TLEDTablo board;
    SetUpAsConsoleBoard(board);
    ShowAndSettle(board);
    long double v = 4523.7L;
    for (auto _ : state) {
        v = v == 4523.7L ? 4523.8L : 4523.7L;
        board.setValue(v);
    }
}
BENCHMARK(BM_ScreenLedValueOneCell);

// Every cell changes: the worst case of a new value.
void BM_ScreenLedValueAllCells(benchmark::State& state) {
    TLEDTablo board;
    SetUpAsConsoleBoard(board);
    ShowAndSettle(board);
    long double v = 1234.5L;
    for (auto _ : state) {
        v = v == 1234.5L ? 56789.0L : 1234.5L;
        board.setValue(v);
    }
}
BENCHMARK(BM_ScreenLedValueAllCells);

// One step of Title1's pass: advance, then the block copy of the inner area.
void BM_DrawTitleTick(benchmark::State& state) {
    TTitle title;
    title.resize(211, 297);
    title.setBevelOuter(TBevelCut::bvLowered);
    title.setBevelWidth(2);
    title.setFont(platform::FontSpec{"Times New Roman", 19, false, 0xA00000});
    QStringList lines;
    for (int i = 0; i < 40; ++i) lines << (i % 3 ? QString() : QStringLiteral("Строка справки"));
    title.setItems(lines);
    platform::QtImage image(211, 297);
    for (auto _ : state) {
        if (!title.Running()) title.Scroll(true);
        title.ScrollTimerTick();
        title.Paint(image.canvas());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawTitleTick);

// The same on screen: the tick's repaint of the inner area goes through Qt.
void BM_ScreenTitleTick(benchmark::State& state) {
    TTitle title;
    title.resize(211, 297);
    title.setBevelWidth(2);
    title.setItems({QStringLiteral("Строка справки"), QString(), QStringLiteral("Ещё строка")});
    ShowAndSettle(title);
    for (auto _ : state) {
        if (!title.Running()) title.Scroll(true);
        title.ScrollTimerTick();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ScreenTitleTick);

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
