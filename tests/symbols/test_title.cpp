#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTimer>
#include <memory>

#include "platform/canvas/QtImage.h"
#include "symbols/Title.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/symbols/PaintProbe.h"

using platform::RecordingCanvas;
using symbols::TAlignment;
using symbols::TBevelCut;
using symbols::TTitle;

namespace {

// Title1 of the console: 211 x 297, lowered bevel of width 2, a 19-pixel serif
// font in dark blue, 60 ms ticks.
void SetUpAsTitle1(TTitle& title) {
    title.resize(211, 297);
    title.setBevelOuter(TBevelCut::bvLowered);
    title.setBevelWidth(2);
    title.setFont(platform::FontSpec{"Times New Roman", 19, false, 0xA00000});
    title.setInterval(60);
    title.setItems({"Демонстрация", "", "системы управления", "", "", "зерновым терминалом"});
}

// Ticks until the pass ends; returns the number of ticks that moved the view.
int TicksThatMove(TTitle& title, QSignalSpy& done) {
    int moves = 0;
    for (int guard = 0; guard < 100000 && done.isEmpty(); ++guard) {
        const int before = title.ScrollPos();
        title.ScrollTimerTick();
        if (title.ScrollPos() != before) ++moves;
    }
    return moves;
}

}  // namespace

// --- Creation and properties ----------------------------------------------------

TEST(TitleDefaults, NewPanelIsIdleWithFiftyMillisecondTicks) {
    TTitle title;
    EXPECT_EQ(title.size(), QSize(100, 75));
    EXPECT_FALSE(title.Running());
    EXPECT_FALSE(title.ScrollDown());
    EXPECT_EQ(title.Alignment(), TAlignment::paCenter);
    EXPECT_EQ(title.Interval(), 50);
    EXPECT_EQ(title.BevelWidth(), 3);
    EXPECT_TRUE(title.Items().isEmpty());
    EXPECT_FALSE(title.ScrollTimer().isActive());
    EXPECT_EQ(title.ScrollTimer().interval(), 50);
    EXPECT_EQ(title.ScrollImage(), nullptr);
    for (const char* name :
         {"ScrollDown", "Alignment", "Items", "Interval", "BevelOuter", "BevelWidth", "Color"})
        EXPECT_GE(title.metaObject()->indexOfProperty(name), 0) << name;
}

TEST(TitleInterval, GivesTheTimerItsPeriodAtOnce) {
    TTitle title;
    title.setInterval(60);
    EXPECT_EQ(title.ScrollTimer().interval(), 60);
    // Zero would make the timer spin; it ticks every millisecond instead.
    title.setInterval(0);
    EXPECT_EQ(title.Interval(), 0);
    EXPECT_EQ(title.ScrollTimer().interval(), 1);
}

TEST(TitleItems, AreCopiedIn) {
    TTitle title;
    QStringList lines = {"a", "b"};
    title.setItems(lines);
    lines << "c";
    EXPECT_EQ(title.Items(), (QStringList{"a", "b"}));
}

// --- Starting and ending a pass --------------------------------------------------

TEST(TitlePass, StartingWithNoLinesDoesNothing) {
    TTitle title;
    QSignalSpy done(&title, &TTitle::done);
    title.Scroll(true);
    EXPECT_FALSE(title.Running());
    EXPECT_FALSE(title.ScrollTimer().isActive());
    title.Scroll(false);
    EXPECT_EQ(done.count(), 0);
}

TEST(TitlePass, StartingTwiceStartsOnePass) {
    TTitle title;
    SetUpAsTitle1(title);
    QSignalSpy done(&title, &TTitle::done);
    title.Scroll(true);
    const platform::Image* image = title.ScrollImage();
    title.ScrollTimerTick();
    title.Scroll(true);
    EXPECT_TRUE(title.Running());
    EXPECT_EQ(title.ScrollImage(), image);
    EXPECT_EQ(title.ScrollPos(), 3);
    EXPECT_TRUE(title.ScrollTimer().isActive());
    title.Scroll(false);
    EXPECT_EQ(done.count(), 1);
}

TEST(TitlePass, StoppingRaisesDoneOnceAndTurnsBackIntoAPanel) {
    TTitle title;
    SetUpAsTitle1(title);
    QSignalSpy done(&title, &TTitle::done);
    title.Scroll(true);
    title.Scroll(false);
    title.Scroll(false);
    EXPECT_EQ(done.count(), 1);
    EXPECT_FALSE(title.Running());
    EXPECT_FALSE(title.ScrollTimer().isActive());
    EXPECT_EQ(title.ScrollImage(), nullptr);
}

TEST(TitlePass, DestroyingARunningPanelRaisesDoneOnce) {
    auto title = std::make_unique<TTitle>();
    SetUpAsTitle1(*title);
    int done = 0;
    QObject::connect(title.get(), &TTitle::done, [&done] { ++done; });
    title->Scroll(true);
    title.reset();
    EXPECT_EQ(done, 1);
}

TEST(TitlePass, DestroyingAnIdlePanelRaisesNothing) {
    auto title = std::make_unique<TTitle>();
    SetUpAsTitle1(*title);
    int done = 0;
    QObject::connect(title.get(), &TTitle::done, [&done] { ++done; });
    title.reset();
    EXPECT_EQ(done, 0);
}

TEST(TitlePass, DoneHandlerThatStopsAgainRaisesNoSecondDone) {
    TTitle title;
    SetUpAsTitle1(title);
    int done = 0;
    QObject::connect(&title, &TTitle::done, [&] {
        ++done;
        title.Scroll(false);
    });
    title.Scroll(true);
    title.Scroll(false);
    EXPECT_EQ(done, 1);
}

TEST(TitlePass, DoneHandlerCanStartTheNextPass) {
    TTitle title;
    SetUpAsTitle1(title);
    int done = 0;
    QObject::connect(&title, &TTitle::done, [&] {
        if (++done == 1) title.Scroll(true);
    });
    title.Scroll(true);
    title.Scroll(false);
    EXPECT_EQ(done, 1);
    EXPECT_TRUE(title.Running());
    EXPECT_NE(title.ScrollImage(), nullptr);
    EXPECT_EQ(title.ScrollPos(), 0);
}

TEST(TitlePass, TickAfterThePassEndedDoesNothing) {
    TTitle title;
    SetUpAsTitle1(title);
    title.Scroll(true);
    title.ScrollTimerTick();
    title.Scroll(false);
    title.ScrollTimerTick();
    EXPECT_EQ(title.ScrollPos(), 3);
}

// --- Geometry ------------------------------------------------------------------

TEST(TitleGeometry, Title1ViewIsTheInnerAreaAndTheImageHasTwoBlankBands) {
    TTitle title;
    SetUpAsTitle1(title);
    title.Scroll(true);
    const int lh = title.LineHeight();
    ASSERT_GT(lh, 0);
    EXPECT_EQ(title.ViewRect(), (platform::Rect{2, 2, 207, 293}));
    EXPECT_EQ(title.ImageRect(), (platform::Rect{0, 0, 211, 6 * lh + 594}));
    EXPECT_EQ(title.ScrollPos(), 0);
    ASSERT_NE(title.ScrollImage(), nullptr);
    EXPECT_EQ(title.ScrollImage()->Width(), 211);
    EXPECT_EQ(title.ScrollImage()->Height(), 6 * lh + 594);
}

TEST(TitleGeometry, ScrollingDownStartsOnTheLowerBlankBand) {
    TTitle title;
    SetUpAsTitle1(title);
    title.setScrollDown(true);
    title.Scroll(true);
    EXPECT_EQ(title.ScrollPos(), 6 * title.LineHeight() + 297);
}

TEST(TitleImage, LinesSitBelowABlankBandOfThePanelsHeight) {
    TTitle title;
    title.resize(60, 40);
    title.setBevelWidth(0);
    title.setColor(0xFFFFFF);
    title.setFont(platform::FontSpec{"DejaVu Sans", 16, true, 0x0000FF});
    title.setItems({"MMMM", "", "MMMM"});
    title.Scroll(true);
    const int lh = title.LineHeight();
    const QImage& image = static_cast<const platform::QtImage*>(title.ScrollImage())->image();
    auto bandHasText = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != 0xFFFFFFFFu) return true;
        return false;
    };
    EXPECT_FALSE(bandHasText(0, 40));                     // upper blank band
    EXPECT_TRUE(bandHasText(40, 40 + lh));                // first line
    EXPECT_FALSE(bandHasText(40 + lh, 40 + 2 * lh));      // empty line
    EXPECT_TRUE(bandHasText(40 + 2 * lh, 40 + 3 * lh));   // third line
    EXPECT_FALSE(bandHasText(40 + 3 * lh, 80 + 3 * lh));  // lower blank band
}

// --- Tick counts -----------------------------------------------------------------

class TitlePassLength : public ::testing::TestWithParam<int> {};

TEST_P(TitlePassLength, UpwardPassMovesUntilTheTextHasLeftThenEnds) {
    // Heights 3k, 3k+1 and 3k+2 cover every remainder of the end test.
    TTitle title;
    title.resize(100, GetParam());
    title.setItems({"one", "two", "three"});
    QSignalSpy done(&title, &TTitle::done);
    title.Scroll(true);
    const int travel = GetParam() + 3 * title.LineHeight();
    const int moves = TicksThatMove(title, done);
    EXPECT_EQ(moves, (travel - 3) / 3 + 1);
    EXPECT_EQ(done.count(), 1);
    EXPECT_FALSE(title.Running());
    // The last position shown lies past travel - 3.
    EXPECT_GT(title.ScrollPos(), travel - 3);
    EXPECT_LE(title.ScrollPos(), travel);
}

TEST_P(TitlePassLength, DownwardPassMovesUntilTheTopThenEnds) {
    TTitle title;
    title.resize(100, GetParam());
    title.setItems({"one", "two", "three"});
    title.setScrollDown(true);
    QSignalSpy done(&title, &TTitle::done);
    title.Scroll(true);
    const int start = title.ScrollPos();
    const int moves = TicksThatMove(title, done);
    EXPECT_EQ(moves, start / 3);
    EXPECT_EQ(title.ScrollPos(), start % 3);
    EXPECT_EQ(done.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Heights, TitlePassLength, ::testing::Values(75, 76, 77));

TEST(Title1Pass, UpwardPassMovesThreePixelsATickAndEndsOnTheTickAfter) {
    TTitle title;
    SetUpAsTitle1(title);
    QSignalSpy done(&title, &TTitle::done);
    title.Scroll(true);
    const int lh = title.LineHeight();
    // (297 + 6 lh - 3) div 3 + 1 moves, and the pass ends on the tick after.
    int ticks = 0;
    while (done.isEmpty() && ticks < 100000) {
        title.ScrollTimerTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, (294 + 6 * lh) / 3 + 2);
}

TEST(TitleMidPass, ChangingTheLinesKeepsTheImageAndTheEnd) {
    TTitle title;
    title.resize(100, 75);
    title.setItems({"one", "two"});
    QSignalSpy done(&title, &TTitle::done);
    title.Scroll(true);
    const int lh = title.LineHeight();
    const platform::Rect image = title.ImageRect();
    title.setItems({"1", "2", "3", "4", "5", "6", "7", "8"});
    EXPECT_EQ(title.ImageRect(), image);
    EXPECT_EQ(TicksThatMove(title, done), (75 + 2 * lh - 3) / 3 + 1);
    // The next pass takes the new lines.
    title.Scroll(true);
    EXPECT_EQ(title.ImageRect().Bottom, 8 * lh + 150);
}

TEST(TitleMidPass, FlippingTheDirectionReversesFromTheNextTick) {
    TTitle title;
    title.setItems({"one"});
    QSignalSpy done(&title, &TTitle::done);
    title.Scroll(true);
    for (int i = 0; i < 4; ++i) title.ScrollTimerTick();
    EXPECT_EQ(title.ScrollPos(), 12);
    title.setScrollDown(true);
    title.ScrollTimerTick();
    EXPECT_EQ(title.ScrollPos(), 9);
    // ... and ends on the downward test: below 3.
    EXPECT_EQ(TicksThatMove(title, done), 3);
    EXPECT_EQ(done.count(), 1);
}

// --- Painting --------------------------------------------------------------------

TEST(TitlePaint, RunningPanelCopiesTheBlockUnderTheView) {
    TTitle title;
    SetUpAsTitle1(title);
    title.Scroll(true);
    for (int i = 0; i < 5; ++i) title.ScrollTimerTick();
    RecordingCanvas canvas;
    title.Paint(canvas);
    const auto copies = canvas.Of(RecordingCanvas::Kind::CopyRect);
    ASSERT_EQ(canvas.Primitives().size(), 1u);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].points, (std::vector<platform::Point>{{0, 0}, {0, 15}, {207, 15 + 293}}));
}

TEST(TitlePaint, IdlePanelDrawsItsBevelAndFace) {
    TTitle title;
    SetUpAsTitle1(title);
    title.setColor(0xC0C0C0);
    RecordingCanvas canvas;
    title.Paint(canvas);
    const auto lines = canvas.Lines();
    ASSERT_EQ(lines.size(), 5u);
    // Lowered: shadow on top and left, highlight at bottom and right; two rings.
    EXPECT_EQ(lines[0], "Polyline((0,296),(0,0),(210,0)) pen=FF000010/1/solid");
    EXPECT_EQ(lines[1], "Polyline((210,0),(210,296),(-1,296)) pen=FF000014/1/solid");
    EXPECT_EQ(lines[2], "Polyline((1,295),(1,1),(209,1)) pen=FF000010/1/solid");
    EXPECT_EQ(lines[3], "Polyline((209,1),(209,295),(0,295)) pen=FF000014/1/solid");
    EXPECT_EQ(lines[4], "FillRect(2,2,209,295) brush=C0C0C0");
}

TEST(TitlePaint, TickRepaintsOnlyTheInnerArea) {
    TTitle title;
    SetUpAsTitle1(title);
    ShowAndSettle(title);
    PaintProbe probe(title);
    title.Scroll(true);
    title.ScrollTimerTick();
    Flush();
    EXPECT_EQ(probe.count, 1);
    EXPECT_EQ(probe.lastRegion.boundingRect(), QRect(2, 2, 205, 291));
    title.Scroll(false);
    Flush();
    EXPECT_EQ(probe.lastRegion.boundingRect(), QRect(0, 0, 211, 297));
}

TEST(TitleTimer, RunningPassAdvancesOnItsOwnTimer) {
    TTitle title;
    title.setItems({"one"});
    title.setInterval(1);
    QSignalSpy done(&title, &TTitle::done);
    title.Scroll(true);
    EXPECT_TRUE(done.wait(10000));
    EXPECT_FALSE(title.Running());
}

SYMBOL_TEST_MAIN()
