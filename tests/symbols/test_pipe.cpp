#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "symbols/Pipe.h"
#include "symbols/PipeTurn.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/symbols/PaintProbe.h"

using platform::Point;
using platform::RecordingCanvas;
using symbols::TPipe;
using symbols::TPipeOrientation;
using symbols::TPipeTurn;
using symbols::TTurnOrientation;

namespace {

constexpr platform::TColor kNavy = 0x800000;

// Pipe2 of the console: vertical, 10 x 112, diameter 10, navy.
void SetUpAsPipe2(TPipe& pipe) {
    pipe.resize(10, 112);
    pipe.setOpientation(TPipeOrientation::poVertical);
    pipe.setDiameter(10);
    pipe.setColor(kNavy);
}

}  // namespace

// --- Straight pipe ------------------------------------------------------------------

TEST(PipeDefaults, NewPipeIsAHorizontalGreenTubeTenWide) {
    TPipe pipe;
    EXPECT_EQ(pipe.width(), 50);
    EXPECT_EQ(pipe.height(), 10);
    EXPECT_EQ(pipe.Diameter(), 10);
    EXPECT_EQ(pipe.Opientation(), TPipeOrientation::poHorizontal);
    EXPECT_EQ(pipe.Color(), 0x008000u);
    EXPECT_FALSE(pipe.Colored());
    for (const char* name : {"Diameter", "Opientation", "Color", "Colored"})
        EXPECT_GE(pipe.metaObject()->indexOfProperty(name), 0) << name;
}

TEST(Pipe2, GreyTubeShadesFromBlackWallsToAWhiteCentreLine) {
    TPipe pipe;
    SetUpAsPipe2(pipe);
    RecordingCanvas canvas;
    pipe.Paint(canvas);
    EXPECT_EQ(canvas.Lines(), (std::vector<std::string>{
                                  "Line(0,0)-(0,112) pen=000000/2/solid",
                                  "Line(10,0)-(10,112) pen=000000/2/solid",
                                  "Line(1,0)-(1,112) pen=333333/2/solid",
                                  "Line(9,0)-(9,112) pen=333333/2/solid",
                                  "Line(2,0)-(2,112) pen=666666/2/solid",
                                  "Line(8,0)-(8,112) pen=666666/2/solid",
                                  "Line(3,0)-(3,112) pen=999999/2/solid",
                                  "Line(7,0)-(7,112) pen=999999/2/solid",
                                  "Line(4,0)-(4,112) pen=CCCCCC/2/solid",
                                  "Line(6,0)-(6,112) pen=CCCCCC/2/solid",
                                  "Line(5,0)-(5,112) pen=FFFFFF/2/solid",
                                  "Line(5,0)-(5,112) pen=FFFFFF/2/solid",
                              }));
}

TEST(Pipe2, ColouredTubeHasNavyWallsAndClimbsToWhite) {
    TPipe pipe;
    SetUpAsPipe2(pipe);
    pipe.setColored(true);
    RecordingCanvas canvas;
    pipe.Paint(canvas);
    // Red and green climb 51 a step, blue 25.4 from 128.
    const std::vector<platform::TColor> shades = {0x800000, 0x993333, 0xB36666,
                                                  0xCC9999, 0xE6CCCC, 0xFFFFFF};
    const auto lines = canvas.Of(RecordingCanvas::Kind::Line);
    ASSERT_EQ(lines.size(), 12u);
    for (size_t k = 0; k < shades.size(); ++k) {
        EXPECT_EQ(lines[2 * k].pen.Color, shades[k]) << "step " << k;
        EXPECT_EQ(lines[2 * k + 1].pen.Color, shades[k]) << "step " << k;
    }
}

TEST(PipeSize, HorizontalPipeTakesItsDiameterAsHeight) {
    TPipe pipe;
    pipe.resize(26, 20);
    pipe.setDiameter(8);
    RecordingCanvas canvas;
    pipe.Paint(canvas);
    EXPECT_EQ(pipe.size(), QSize(26, 8));
    EXPECT_EQ(canvas.Lines(), (std::vector<std::string>{
                                  "Line(0,0)-(26,0) pen=000000/2/solid",
                                  "Line(0,8)-(26,8) pen=000000/2/solid",
                                  "Line(0,1)-(26,1) pen=404040/2/solid",
                                  "Line(0,7)-(26,7) pen=404040/2/solid",
                                  "Line(0,2)-(26,2) pen=808080/2/solid",
                                  "Line(0,6)-(26,6) pen=808080/2/solid",
                                  "Line(0,3)-(26,3) pen=BFBFBF/2/solid",
                                  "Line(0,5)-(26,5) pen=BFBFBF/2/solid",
                                  "Line(0,4)-(26,4) pen=FFFFFF/2/solid",
                                  "Line(0,4)-(26,4) pen=FFFFFF/2/solid",
                              }));
}

TEST(PipeSize, VerticalPipeTakesItsDiameterAsWidthAndKeepsItsLength) {
    TPipe pipe;
    pipe.resize(30, 82);
    pipe.setOpientation(TPipeOrientation::poVertical);
    RecordingCanvas canvas;
    pipe.Paint(canvas);
    EXPECT_EQ(pipe.size(), QSize(10, 82));
}

TEST(PipeShade, OddDiameterStopsShortOfWhite) {
    TPipe pipe;
    pipe.setDiameter(5);  // 255 / 2.5 = 102 a step, three steps
    RecordingCanvas canvas;
    pipe.Paint(canvas);
    const auto lines = canvas.Of(RecordingCanvas::Kind::Line);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5].pen.Color, 0xCCCCCCu);
    EXPECT_EQ(lines[5].points[0].Y, 3);
}

TEST(PipeShade, DiameterZeroPaintsOneBlackStepWithoutFailing) {
    TPipe pipe;
    pipe.setDiameter(0);
    pipe.setColored(true);
    RecordingCanvas canvas;
    pipe.Paint(canvas);
    EXPECT_EQ(pipe.height(), 0);
    EXPECT_EQ(canvas.Lines(), (std::vector<std::string>{
                                  "Line(0,0)-(50,0) pen=008000/2/solid",
                                  "Line(0,0)-(50,0) pen=008000/2/solid",
                              }));
}

TEST(PipeShade, NegativeDiameterDrawsAsZero) {
    TPipe pipe;
    pipe.setDiameter(-7);
    RecordingCanvas canvas;
    pipe.Paint(canvas);
    EXPECT_EQ(pipe.height(), 0);
    EXPECT_EQ(canvas.Of(RecordingCanvas::Kind::Line).size(), 2u);
}

TEST(PipeSetters, EveryAssignmentRequestsARedrawEvenWhenUnchanged) {
    TPipe pipe;
    ShowAndSettle(pipe);
    PaintProbe probe(pipe);
    pipe.setColored(false);
    Flush();
    EXPECT_EQ(probe.count, 1);
    pipe.setDiameter(10);
    pipe.setColor(pipe.Color());
    pipe.setOpientation(TPipeOrientation::poHorizontal);
    Flush();
    EXPECT_EQ(probe.count, 2);  // several assignments, one paint
}

TEST(PipeScreen, ShowsTheSameDrawingAsTheCanvasInBothColourings) {
    TPipe pipe;
    SetUpAsPipe2(pipe);
    auto draw = [&](platform::Canvas& canvas) { pipe.Paint(canvas); };
    EXPECT_EQ(OnScreen(pipe), ThroughCanvas(pipe.size(), draw));
    pipe.setColored(true);
    EXPECT_EQ(OnScreen(pipe), ThroughCanvas(pipe.size(), draw));
    pipe.setColored(false);
    EXPECT_EQ(OnScreen(pipe), ThroughCanvas(pipe.size(), draw));
}

TEST(PipeScreen, SizeRuleSettlesBeforeTheDrawingIsKept) {
    TPipe pipe;
    pipe.resize(26, 20);
    pipe.setDiameter(8);
    const QImage shown = OnScreen(pipe);
    EXPECT_EQ(shown.size(), QSize(26, 8));
    EXPECT_EQ(shown, ThroughCanvas(QSize(26, 8), [&](platform::Canvas& c) { pipe.Paint(c); }));
}

// --- Elbow ----------------------------------------------------------------------

TEST(PipeTurnDefaults, NewElbowIsATwentySquareJoiningLeftAndTop) {
    TPipeTurn turn;
    EXPECT_EQ(turn.size(), QSize(20, 20));
    EXPECT_EQ(turn.Color(), 0x008000u);
    EXPECT_FALSE(turn.Colored());
    EXPECT_EQ(turn.Diameter(), 10);
    EXPECT_EQ(turn.RadiusTurn(), 10);
    EXPECT_EQ(turn.Orientation(), TTurnOrientation::poLeftUp);
    for (const char* name : {"Color", "Colored", "Diameter", "RadiusTurn", "Orientation"})
        EXPECT_GE(turn.metaObject()->indexOfProperty(name), 0) << name;
}

class PipeTurn1 : public ::testing::Test {
protected:
    PipeTurn1() {
        turn.resize(20, 20);
        turn.setDiameter(6);
        turn.setRadiusTurn(10);
        turn.setColor(kNavy);
    }
    TPipeTurn turn;
    RecordingCanvas canvas;
};

TEST_F(PipeTurn1, BecomesASixteenSquare) {
    turn.Paint(canvas);
    EXPECT_EQ(turn.size(), QSize(16, 16));
}

TEST_F(PipeTurn1, ArcsCloseInFromRadiiSixteenAndTenToThirteen) {
    turn.Paint(canvas);
    EXPECT_EQ(canvas.Lines(), (std::vector<std::string>{
                                  "Arc(-16,-16,16,16)(0,16)(16,0) pen=000000/2/solid",
                                  "Arc(-10,-10,10,10)(0,16)(16,0) pen=000000/2/solid",
                                  "Arc(-15,-15,15,15)(0,16)(16,0) pen=555555/2/solid",
                                  "Arc(-11,-11,11,11)(0,16)(16,0) pen=555555/2/solid",
                                  "Arc(-14,-14,14,14)(0,16)(16,0) pen=AAAAAA/2/solid",
                                  "Arc(-12,-12,12,12)(0,16)(16,0) pen=AAAAAA/2/solid",
                                  "Arc(-13,-13,13,13)(0,16)(16,0) pen=FFFFFF/2/solid",
                                  "Arc(-13,-13,13,13)(0,16)(16,0) pen=FFFFFF/2/solid",
                              }));
}

TEST_F(PipeTurn1, ColouredWallsStartNavy) {
    turn.setColored(true);
    turn.Paint(canvas);
    const auto arcs = canvas.Of(RecordingCanvas::Kind::Arc);
    ASSERT_EQ(arcs.size(), 8u);
    EXPECT_EQ(arcs[0].pen.Color, kNavy);
    EXPECT_EQ(arcs[7].pen.Color, 0xFFFFFFu);
}

struct TurnCase {
    TTurnOrientation orientation;
    const char* outerArc;
};
void PrintTo(const TurnCase& c, std::ostream* os) {
    static const char* const kNames[] = {"poLeftUp", "poRightUp", "poLeftDown", "poRightDown"};
    *os << kNames[static_cast<int>(c.orientation)];
}

class PipeTurnCorner : public ::testing::TestWithParam<TurnCase> {};

TEST_P(PipeTurnCorner, CentreOfCurvatureIsTheNamedCorner) {
    TPipeTurn turn;
    turn.setDiameter(6);
    turn.setRadiusTurn(10);
    turn.setOrientation(GetParam().orientation);
    RecordingCanvas canvas;
    turn.Paint(canvas);
    EXPECT_EQ(turn.size(), QSize(16, 16));
    EXPECT_EQ(canvas.Lines().front(), GetParam().outerArc);
}

INSTANTIATE_TEST_SUITE_P(
    Orientations, PipeTurnCorner,
    ::testing::Values(
        TurnCase{TTurnOrientation::poLeftUp, "Arc(-16,-16,16,16)(0,16)(16,0) pen=000000/2/solid"},
        TurnCase{TTurnOrientation::poRightUp, "Arc(0,-16,32,16)(0,0)(16,16) pen=000000/2/solid"},
        TurnCase{TTurnOrientation::poLeftDown, "Arc(-16,0,16,32)(16,16)(0,0) pen=000000/2/solid"},
        TurnCase{TTurnOrientation::poRightDown, "Arc(0,0,32,32)(16,0)(0,16) pen=000000/2/solid"}));

TEST(PipeTurnSize, ChangingTheOrientationKeepsTheSize) {
    TPipeTurn turn;
    RecordingCanvas canvas;
    turn.Paint(canvas);
    turn.setOrientation(TTurnOrientation::poRightDown);
    turn.Paint(canvas);
    EXPECT_EQ(turn.size(), QSize(20, 20));
}

TEST(PipeTurnSize, DiameterZeroPaintsWithoutFailing) {
    TPipeTurn turn;
    turn.setDiameter(0);
    RecordingCanvas canvas;
    turn.Paint(canvas);
    EXPECT_EQ(turn.size(), QSize(10, 10));
    EXPECT_EQ(canvas.Of(RecordingCanvas::Kind::Arc).size(), 2u);
}

TEST(PipeTurnSize, NegativeRadiusIsDrawnAsComputed) {
    TPipeTurn turn;
    turn.setDiameter(4);
    turn.setRadiusTurn(-6);  // side -2: the control collapses, the arcs are drawn as computed
    RecordingCanvas canvas;
    turn.Paint(canvas);
    EXPECT_EQ(turn.size(), QSize(0, 0));
    EXPECT_EQ(canvas.Lines().front(), "Arc(2,2,-2,-2)(0,-2)(-2,0) pen=000000/2/solid");
}

TEST(PipeTurnSetters, EveryAssignmentRequestsARedrawEvenWhenUnchanged) {
    TPipeTurn turn;
    ShowAndSettle(turn);
    PaintProbe probe(turn);
    turn.setColored(false);
    Flush();
    EXPECT_EQ(probe.count, 1);
}

TEST(PipeTurnScreen, ShowsTheSameDrawingAsTheCanvasInEveryCorner) {
    TPipeTurn turn;
    turn.setDiameter(16);
    turn.setRadiusTurn(24);
    turn.setColor(kNavy);
    for (TTurnOrientation o : {TTurnOrientation::poLeftUp, TTurnOrientation::poRightUp,
                               TTurnOrientation::poLeftDown, TTurnOrientation::poRightDown}) {
        turn.setOrientation(o);
        turn.setColored(o == TTurnOrientation::poRightUp);
        EXPECT_EQ(OnScreen(turn),
                  ThroughCanvas(QSize(40, 40), [&](platform::Canvas& c) { turn.Paint(c); }));
    }
}

SYMBOL_TEST_MAIN()
