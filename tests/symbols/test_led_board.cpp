#include <gtest/gtest.h>

#include <QSignalSpy>
#include <memory>
#include <vector>

#include "symbols/LEDBoardLook.h"
#include "symbols/LEDTablo.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/symbols/PaintProbe.h"

using platform::Point;
using platform::RecordingCanvas;
using symbols::TBrush;
using symbols::TLEDAlign;
using symbols::TLEDTablo;
using symbols::TPen;
using symbols::TValueType;

namespace {

constexpr platform::TColor kLit = 0x00FF00;
constexpr platform::TColor kDark = 0x484848;

// A board set up as the console's, with a decimal point whatever the
// regional settings of the machine running the tests.
void SetUpAsTestedBoard(TLEDTablo& board) {
    symbols::SetUpAsConsoleBoard(board);
    board.setDecimalSeparator('.');
}

// Reads the lit segments of every cell back from the drawing: eight polygons
// per cell, in segment order, lit ones filled with `lit`.
std::vector<uint8_t> LitMasks(const RecordingCanvas& canvas, platform::TColor lit = kLit) {
    const auto polygons = canvas.Of(RecordingCanvas::Kind::Polygon);
    std::vector<uint8_t> masks(polygons.size() / 8, 0);
    for (size_t i = 0; i < polygons.size(); ++i)
        if (polygons[i].brush.Color == lit) masks[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
    return masks;
}

class ConsoleBoard : public ::testing::Test {
protected:
    ConsoleBoard() { SetUpAsTestedBoard(board); }

    std::vector<uint8_t> MasksAfterPaint() {
        canvas.Clear();
        board.Paint(canvas);
        return LitMasks(canvas);
    }

    TLEDTablo board;
    RecordingCanvas canvas;
};

}  // namespace

// --- Creation -------------------------------------------------------------------

TEST(LedBoardDefaults, NewBoardIsFiveIntegerCellsOnBlack) {
    TLEDTablo board;
    EXPECT_EQ(board.width(), 80);
    EXPECT_EQ(board.height(), 34);
    EXPECT_EQ(board.Alignment(), TLEDAlign::laRightJustify);
    EXPECT_EQ(board.BorderWidth(), 5);
    EXPECT_EQ(board.Distance(), 2);
    EXPECT_EQ(board.Shift(), 2);
    EXPECT_EQ(board.BackGroundColor(), 0x000000u);
    EXPECT_EQ(board.NumChars(), 5);
    EXPECT_EQ(board.ValueType(), TValueType::vtInteger);
    EXPECT_EQ(board.Value(), 0.0L);
    EXPECT_EQ(board.Decimal(), 1);
    EXPECT_EQ(board.Text(), "8");
    EXPECT_EQ(board.OnPen()->Color(), 0x808080u);
    EXPECT_EQ(board.OnPen()->Width(), 1);
    EXPECT_EQ(board.OnPen()->Style(), platform::PenStyle::Solid);
    EXPECT_EQ(board.OffPen()->Color(), 0x808080u);
    EXPECT_EQ(board.OnBrush()->Color(), 0x00FF00u);
    EXPECT_EQ(board.OffBrush()->Color(), 0x808080u);
    EXPECT_EQ(board.OffBrush()->Style(), platform::BrushStyle::Solid);
}

TEST(LedBoardDefaults, DefaultBoardCellsStartEveryFourteenPixels) {
    TLEDTablo board;
    EXPECT_EQ(board.CellWidth(), 12);
    const std::vector<int> lefts = {7, 21, 35, 49, 63};
    for (int p = 1; p <= 5; ++p) EXPECT_EQ(board.CellRect(p).Left, lefts[size_t(p - 1)]);
}

TEST(LedBoardDefaults, PublishesItsPropertiesUnderTheirNames) {
    TLEDTablo board;
    for (const char* name :
         {"Alignment", "BorderWidth", "Distance", "Shift", "BackGroundColor", "NumChars",
          "ValueType", "Value", "Decimal", "OnPen", "OffPen", "OnBrush", "OffBrush"})
        EXPECT_GE(board.metaObject()->indexOfProperty(name), 0) << name;
    ASSERT_TRUE(board.setProperty("Value", 42.0));
    EXPECT_EQ(board.Value(), 42.0L);
}

// --- Rendering ------------------------------------------------------------------

TEST_F(ConsoleBoard, PaintFillsTheBackgroundThenDrawsEightPolygonsPerCell) {
    board.Paint(canvas);
    const auto& all = canvas.Primitives();
    ASSERT_EQ(all.size(), 1u + 6 * 8);
    EXPECT_EQ(all[0].ToString(), "FillRect(0,0,153,41) brush=000000");
    for (size_t i = 1; i < all.size(); ++i) EXPECT_EQ(all[i].kind, RecordingCanvas::Kind::Polygon);
}

TEST_F(ConsoleBoard, FirstCellSegmentsAreSlantedInTheCellAndRepeatInTheNext) {
    board.Paint(canvas);
    const auto polygons = canvas.Of(RecordingCanvas::Kind::Polygon);
    ASSERT_EQ(polygons.size(), 48u);
    using P = std::vector<Point>;
    EXPECT_EQ(polygons[0].points, (P{{10, 5}, {20, 5}, {21, 6}, {18, 9}, {11, 9}, {9, 6}}));
    EXPECT_EQ(polygons[3].points, (P{{10, 17}, {19, 17}, {20, 19}, {18, 21}, {10, 21}, {8, 19}}));
    EXPECT_EQ(polygons[7].points, (P{{22, 32}, {25, 32}, {25, 35}, {22, 37}, {20, 37}, {22, 35}}));
    // Cell 2 is the same figure 23 pixels further right.
    EXPECT_EQ(polygons[8].points, (P{{33, 5}, {43, 5}, {44, 6}, {41, 9}, {34, 9}, {32, 6}}));
}

TEST_F(ConsoleBoard, DarkSegmentsUseTheOffPenAndBrush) {
    board.Paint(canvas);
    const auto first = canvas.Of(RecordingCanvas::Kind::Polygon).front();  // cell 1 is blank
    EXPECT_EQ(first.pen, (RecordingCanvas::Pen{kDark, 1, platform::PenStyle::Solid}));
    EXPECT_EQ(first.brush, (RecordingCanvas::Brush{kDark, platform::BrushStyle::Solid}));
}

struct BoardCase {
    long double value;
    TLEDAlign align;
    const char* text;
    std::vector<uint8_t> masks;
};
void PrintTo(const BoardCase& c, std::ostream* os) {
    *os << '"' << c.text << '"'
        << (c.align == TLEDAlign::laLeftJustify     ? " left"
            : c.align == TLEDAlign::laCenterJustify ? " centred"
                                                    : " right");
}

class ConsoleBoardShows : public ::testing::TestWithParam<BoardCase> {};

TEST_P(ConsoleBoardShows, TheValueInItsCells) {
    const BoardCase& c = GetParam();
    TLEDTablo board;
    SetUpAsTestedBoard(board);
    board.setAlignment(c.align);
    board.setValue(c.value);
    RecordingCanvas canvas;
    board.Paint(canvas);
    EXPECT_EQ(board.Text(), c.text);
    EXPECT_EQ(LitMasks(canvas), c.masks);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ConsoleBoardShows,
    ::testing::Values(
        // 0.0: four blank cells, 0 with its point, 0.
        BoardCase{0.0L, TLEDAlign::laRightJustify, "0.0", {0, 0, 0, 0, 0xF7, 0x77}},
        BoardCase{
            12345.6L, TLEDAlign::laRightJustify, "12345.6", {0x24, 0x5D, 0x6D, 0x2E, 0xEB, 0x7B}},
        // -5.0: the minus is the middle segment alone.
        BoardCase{-5.0L, TLEDAlign::laRightJustify, "-5.0", {0, 0, 0, 0x08, 0xEB, 0x77}},
        BoardCase{12.5L, TLEDAlign::laCenterJustify, "12.5", {0, 0x24, 0xDD, 0x6B, 0, 0}},
        BoardCase{12.5L, TLEDAlign::laLeftJustify, "12.5", {0x24, 0xDD, 0x6B, 0, 0, 0}},
        // Too long for six cells: cut on the right without a mark.
        BoardCase{
            123456.7L, TLEDAlign::laRightJustify, "123457.0", {0x24, 0x5D, 0x6D, 0x2E, 0x6B, 0xA5}},
        BoardCase{1234567.8L,
                  TLEDAlign::laRightJustify,
                  "1.23457E6",
                  {0xA4, 0x5D, 0x6D, 0x2E, 0x6B, 0x25}}));

TEST(LedBoardInteger, HalvesRoundToTheEvenDigit) {
    TLEDTablo board;  // five integer cells
    RecordingCanvas canvas;
    board.setValue(2.5L);
    board.Paint(canvas);
    EXPECT_EQ(LitMasks(canvas), (std::vector<uint8_t>{0, 0, 0, 0, 0x5D}));
    canvas.Clear();
    board.setValue(3.5L);
    board.Paint(canvas);
    EXPECT_EQ(LitMasks(canvas), (std::vector<uint8_t>{0, 0, 0, 0, 0x2E}));
}

TEST_F(ConsoleBoard, CommaSeparatorLightsTheDecimalPointToo) {
    board.setDecimalSeparator(',');
    board.setValue(3.0L);
    EXPECT_EQ(MasksAfterPaint(), (std::vector<uint8_t>{0, 0, 0, 0, 0xED, 0x77}));
    EXPECT_EQ(board.Text(), "3,0");
}

TEST_F(ConsoleBoard, RenderDrawsTheCellsWithoutTheBackground) {
    board.Render(canvas);
    EXPECT_TRUE(canvas.Of(RecordingCanvas::Kind::FillRect).empty());
    EXPECT_EQ(canvas.Of(RecordingCanvas::Kind::Polygon).size(), 48u);
}

// --- Sizes with no room for digits ----------------------------------------------

TEST(LedBoardNoRoom, NoCellsPaintsTheBackgroundOnly) {
    TLEDTablo board;
    board.setNumChars(0);
    board.setValue(17.0L);
    RecordingCanvas canvas;
    board.Paint(canvas);
    EXPECT_EQ(canvas.Lines(), (std::vector<std::string>{"FillRect(0,0,80,34) brush=000000"}));
}

TEST(LedBoardNoRoom, CellsNoWiderThanTheSlantPaintTheBackgroundOnly) {
    TLEDTablo board;
    board.resize(40, 34);
    board.setShift(4);  // (40 - 10 - 4 - 8) / 5 = 3 pixels a cell, under a slant of 4
    RecordingCanvas canvas;
    board.Paint(canvas);
    EXPECT_TRUE(canvas.Of(RecordingCanvas::Kind::Polygon).empty());
    board.setShift(2);  // 4 pixels a cell, 2 of them left for the digit
    canvas.Clear();
    board.Paint(canvas);
    EXPECT_EQ(canvas.Of(RecordingCanvas::Kind::Polygon).size(), 40u);
}

TEST(LedBoardNoRoom, AbsurdCellCountsPaintWithoutHanging) {
    TLEDTablo board;
    board.setDistance(-1000);  // cells overlap, so the width alone would allow a million
    board.setNumChars(1000000);
    RecordingCanvas canvas;
    board.Paint(canvas);
    EXPECT_TRUE(canvas.Of(RecordingCanvas::Kind::Polygon).empty());
}

// --- Setters --------------------------------------------------------------------

TEST(LedBoardValue, NewValueRaisesOnChangeOnceAndUpdatesTheTextAtOnce) {
    TLEDTablo board;
    QSignalSpy changes(&board, &TLEDTablo::changed);
    board.setValue(42.0L);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(board.Text(), "42");
    board.setValue(42.0L);
    EXPECT_EQ(changes.count(), 1);
}

class ShownConsoleBoard : public ::testing::Test {
protected:
    ShownConsoleBoard() {
        SetUpAsTestedBoard(board);
        ShowAndSettle(board);
        probe.Reset();
    }

    TLEDTablo board;
    PaintProbe probe{board};
};

TEST_F(ShownConsoleBoard, SameValueDrawsNothing) {
    board.setValue(0.0L);
    Flush();
    EXPECT_EQ(probe.count, 0);
}

TEST_F(ShownConsoleBoard, NewValueRepaintsAtOnceOnlyTheCellThatChanges) {
    board.setValue(1.0L);       // "0.0" -> "1.0": only cell 5 changes
    EXPECT_EQ(probe.count, 1);  // synchronously, before any event processing
    const QRect painted = probe.lastRegion.boundingRect();
    EXPECT_GE(painted.left(), 95);
    EXPECT_LE(painted.right(), 128);
    EXPECT_GE(painted.top(), 0);
    EXPECT_LE(painted.bottom(), 40);
    Flush();
    EXPECT_EQ(probe.count, 1);
}

TEST_F(ShownConsoleBoard, ValueShowingTheSameDigitsDrawsNothing) {
    board.setValue(0.04L);  // still "0.0"
    Flush();
    EXPECT_EQ(probe.count, 0);
}

TEST_F(ShownConsoleBoard, ValueChangingEveryDigitRepaintsAllCells) {
    board.setValue(12345.6L);
    EXPECT_EQ(probe.count, 1);
    const QRect painted = probe.lastRegion.boundingRect();
    EXPECT_LE(painted.left(), 9);
    EXPECT_GE(painted.right(), 140);
}

TEST_F(ShownConsoleBoard, LayoutSettersRepaintOnlyWhenTheValueChanges) {
    board.setNumChars(6);
    board.setDecimal(1);
    board.setShift(2);
    board.setDistance(2);
    board.setBorderWidth(5);
    board.setAlignment(TLEDAlign::laRightJustify);
    board.setValueType(TValueType::vtFloat);
    Flush();
    EXPECT_EQ(probe.count, 0);
    board.setNumChars(5);
    EXPECT_EQ(probe.count, 0);  // requested, not drawn at once
    Flush();
    EXPECT_EQ(probe.count, 1);
    EXPECT_EQ(probe.lastRegion.boundingRect(), QRect(0, 0, 153, 41));
}

TEST_F(ShownConsoleBoard, BackgroundColourRepaintsEvenWhenUnchanged) {
    board.setBackGroundColor(0x000000);
    Flush();
    EXPECT_EQ(probe.count, 1);
}

TEST_F(ShownConsoleBoard, OwnBrushColourChangeRepaintsTheWholeBoardAtOnce) {
    board.OnBrush()->setColor(0x0000FF);
    EXPECT_EQ(probe.count, 1);
    EXPECT_EQ(probe.lastRegion.boundingRect(), QRect(0, 0, 153, 41));
}

TEST_F(ShownConsoleBoard, NewValueAfterALayoutChangeGetsTheFullPaint) {
    board.setBorderWidth(4);  // requests a full paint, not yet done
    board.setValue(7.0L);
    Flush();
    EXPECT_GE(probe.count, 1);
    EXPECT_EQ(probe.lastRegion.boundingRect(), QRect(0, 0, 153, 41));
}

// --- The screen --------------------------------------------------------------------

TEST_F(ConsoleBoard, ScreenShowsTheSameDrawingAsTheCanvas) {
    auto draw = [&](platform::Canvas& c) { board.Paint(c); };
    for (long double v : {0.0L, 12345.6L, -5.0L, 1234567.8L}) {
        board.setValue(v);
        EXPECT_EQ(OnScreen(board), ThroughCanvas(board.size(), draw)) << double(v);
    }
    board.OnBrush()->setColor(0x0000FF);
    board.OffPen()->setWidth(3);
    EXPECT_EQ(OnScreen(board), ThroughCanvas(board.size(), draw));
    board.setShift(6);
    board.setAlignment(TLEDAlign::laCenterJustify);
    EXPECT_EQ(OnScreen(board), ThroughCanvas(board.size(), draw));
}

TEST(LedBoardScreen, DefaultBoardShowsTheSameDrawingAsTheCanvas) {
    TLEDTablo board;
    board.setValue(-38.0L);
    EXPECT_EQ(OnScreen(board),
              ThroughCanvas(board.size(), [&](platform::Canvas& c) { board.Paint(c); }));
}

// --- Pens and brushes set from outside --------------------------------------------

TEST_F(ConsoleBoard, DrawsWithAPenAndBrushGivenFromOutside) {
    TPen pen(0x0000FF, 3, platform::PenStyle::Solid);
    TBrush brush(0xFF0000, platform::BrushStyle::Solid);
    board.setOnPen(&pen);
    board.setOnBrush(&brush);
    EXPECT_EQ(board.OnPen(), &pen);
    EXPECT_EQ(MasksAfterPaint().size(), 6u);
    EXPECT_EQ(LitMasks(canvas, 0xFF0000), (std::vector<uint8_t>{0, 0, 0, 0, 0xF7, 0x77}));
    const auto lit = canvas.Of(RecordingCanvas::Kind::Polygon)[40];  // top of the last 0
    EXPECT_EQ(lit.pen, (RecordingCanvas::Pen{0x0000FF, 3, platform::PenStyle::Solid}));
}

TEST(LedBoardOutsidePen, ItsChangesAreNotWatched) {
    TLEDTablo board;
    ShowAndSettle(board);
    TBrush brush(0xFF0000, platform::BrushStyle::Solid);
    board.setOffBrush(&brush);
    Flush();
    PaintProbe probe(board);
    brush.setColor(0x00FFFF);
    Flush();
    EXPECT_EQ(probe.count, 0);
}

TEST(LedBoardOutsidePen, DestroyedOutsideObjectGivesBackTheBoardsOwn) {
    TLEDTablo board;
    TPen* own = board.OffPen();
    {
        TPen pen(0x0000FF, 1, platform::PenStyle::Solid);
        board.setOffPen(&pen);
        EXPECT_EQ(board.OffPen(), &pen);
    }
    EXPECT_EQ(board.OffPen(), own);
    RecordingCanvas canvas;
    board.Paint(canvas);  // must not touch the destroyed pen
    EXPECT_EQ(canvas.Of(RecordingCanvas::Kind::Polygon).front().pen.Color, 0x808080u);
}

TEST(LedBoardOutsidePen, SettingNullBringsBackTheBoardsOwn) {
    TLEDTablo board;
    TBrush* own = board.OnBrush();
    TBrush brush;
    board.setOnBrush(&brush);
    board.setOnBrush(nullptr);
    EXPECT_EQ(board.OnBrush(), own);
}

SYMBOL_TEST_MAIN()
