#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "symbols/Pump.h"
#include "tests/symbols/DeviceSymbolTestApp.h"

using platform::RecordingCanvas;
using symbols::TPump;
using symbols_test::Shapes;
using K = RecordingCanvas::Kind;

namespace {

class PumpTest : public ::testing::Test {
protected:
    RecordingCanvas PaintAt(int width,
                            TPump::TPumpOrientation side = TPump::TPumpOrientation::poLeft) {
        pump.resize(width, 10);
        pump.setOpientation(side);
        RecordingCanvas canvas;
        pump.Paint(canvas);
        return canvas;
    }

    symbols_test::WithApp app;
    TPump pump;
};

// Each tube ends with its two black end lines (X1,Y1)-(X1,Y2) and (X2,Y1)-(X2,Y2):
// reading those pairs gives the tube boxes in drawing order.
std::vector<std::array<int, 4>> TubeBoxes(const RecordingCanvas& canvas) {
    std::vector<platform::Point> ends;
    for (const auto& p : canvas.Of(K::Line))
        if (p.points[0].X == p.points[1].X)
            ends.push_back(p.points[0]), ends.push_back(p.points[1]);
    std::vector<std::array<int, 4>> boxes;
    for (size_t i = 0; i + 3 < ends.size(); i += 4)
        boxes.push_back({ends[i].X, ends[i].Y, ends[i + 2].X, ends[i + 3].Y});
    return boxes;
}

TEST_F(PumpTest, WidthOneTwentyFacingLeftDrawsBodyImpellerAndPipes) {
    const RecordingCanvas canvas = PaintAt(120);
    EXPECT_EQ(pump.height(), 90);
    const std::vector<std::string> expected = {
        "Rectangle(0,0,120,90) pen=008000/3/solid brush=FF00000F",
        "Ellipse(20,4,100,84) pen=000000/1/solid brush=A0A0A0",
        "Arc(25,9,95,79)(60,9)(25,45) pen=FFFFFF/3/solid",
        "Arc(25,9,95,79)(60,84)(95,45) pen=000000/3/solid",
        "Ellipse(45,29,75,59) pen=000000/1/solid brush=C0C0C0",
    };
    EXPECT_EQ(Shapes(canvas), expected);
    const std::vector<std::array<int, 4>> tubes = {
        {10, 59, 60, 84}, {2, 57, 12, 87}, {60, 32, 110, 57}, {108, 29, 118, 59}};
    EXPECT_EQ(TubeBoxes(canvas), tubes);
}

TEST_F(PumpTest, WidthOneTwentyRightMirrorsOnlyThePipes) {
    const RecordingCanvas left = PaintAt(120, TPump::TPumpOrientation::poLeft);
    const RecordingCanvas right = PaintAt(120, TPump::TPumpOrientation::poRight);
    EXPECT_EQ(Shapes(right), Shapes(left));
    const std::vector<std::array<int, 4>> tubes = {
        {60, 59, 110, 84}, {108, 57, 118, 87}, {10, 32, 60, 57}, {2, 29, 12, 59}};
    EXPECT_EQ(TubeBoxes(right), tubes);
}

TEST_F(PumpTest, WidthThirtyDrawsTheFanFigure) {
    const RecordingCanvas canvas = PaintAt(30);
    EXPECT_EQ(pump.height(), 22);  // 22.5 rounds to the even 22
    const std::vector<std::string> expected = {
        "Rectangle(0,0,30,22) pen=008000/3/solid brush=FF00000F",
        "Ellipse(5,1,25,21) pen=000000/1/solid brush=A0A0A0",
        "Arc(6,2,24,20)(15,2)(6,11) pen=FFFFFF/3/solid",
        "Arc(6,2,24,20)(15,21)(24,11) pen=000000/3/solid",
        "Ellipse(11,7,19,15) pen=000000/1/solid brush=C0C0C0",
    };
    EXPECT_EQ(Shapes(canvas), expected);
    const std::vector<std::array<int, 4>> tubes = {
        {2, 15, 15, 21}, {0, 14, 3, 22}, {15, 8, 27, 14}, {27, 7, 29, 15}};
    EXPECT_EQ(TubeBoxes(canvas), tubes);
}

TEST_F(PumpTest, WidthThirtyRightMirrorsThePipes) {
    const RecordingCanvas canvas = PaintAt(30, TPump::TPumpOrientation::poRight);
    const std::vector<std::array<int, 4>> tubes = {
        {15, 15, 27, 21}, {27, 14, 29, 22}, {2, 8, 15, 14}, {0, 7, 3, 15}};
    EXPECT_EQ(TubeBoxes(canvas), tubes);
}

TEST_F(PumpTest, HeightFollowsWidthWhateverWasAssigned) {
    pump.resize(30, 200);
    RecordingCanvas canvas;
    pump.Paint(canvas);
    EXPECT_EQ(pump.size(), QSize(30, 22));
}

TEST_F(PumpTest, StateModeAndAlarmEachChangeOnlyTheirOwnPart) {
    pump.resize(120, 90);
    pump.setState(symbols::TState::Run);
    pump.setMode(symbols::TMode::Auto);
    pump.setAlarm(true);  // red phase at once
    RecordingCanvas canvas;
    pump.Paint(canvas);
    const auto shapes = Shapes(canvas);
    ASSERT_EQ(shapes.size(), 5u);
    EXPECT_EQ(shapes.front(), "Rectangle(0,0,120,90) pen=FF0000/3/solid brush=0000FF");
    EXPECT_EQ(shapes.back(), "Ellipse(45,29,75,59) pen=000000/1/solid brush=00FF00");
}

// Every mode has its own frame colour and every state its own hub colour.
TEST_F(PumpTest, EachModeFramesAndEachStateFillsInItsOwnColour) {
    pump.resize(120, 90);
    pump.setColorLocal(0x000001);
    pump.setColorRemote(0x000002);
    pump.setColorAuto(0x000003);
    pump.setColorRepair(0x000004);
    pump.setColorRun(0x000005);
    pump.setColorAccelerate(0x000006);
    pump.setColorStop(0x000007);
    using symbols::TMode;
    using symbols::TState;
    const std::array<std::pair<TMode, const char*>, 4> modes = {{{TMode::Local, "000001"},
                                                                 {TMode::Remote, "000002"},
                                                                 {TMode::Auto, "000003"},
                                                                 {TMode::Repair, "000004"}}};
    const std::array<std::pair<TState, const char*>, 3> states = {
        {{TState::Run, "000005"}, {TState::Acceleration, "000006"}, {TState::Stop, "000007"}}};
    for (const auto& [mode, frame] : modes) {
        for (const auto& [state, hub] : states) {
            pump.setMode(mode);
            pump.setState(state);
            RecordingCanvas canvas;
            pump.Paint(canvas);
            const auto shapes = Shapes(canvas);
            ASSERT_EQ(shapes.size(), 5u);
            EXPECT_EQ(shapes.front(), std::string("Rectangle(0,0,120,90) pen=") + frame +
                                          "/3/solid brush=FF00000F");
            EXPECT_EQ(shapes.back(),
                      std::string("Ellipse(45,29,75,59) pen=000000/1/solid brush=") + hub);
        }
    }
}

TEST(PumpTube, ShadesFromBlackEdgesToLightMiddle) {
    RecordingCanvas canvas;
    TPump::DrawTube(canvas, 10, 59, 60, 84);
    const auto lines = canvas.Of(K::Line);
    ASSERT_EQ(lines.size(), 13u * 2 + 2);
    // Levels step by 255 / 12.5 = 20.4, accumulated and rounded to even.
    const std::array<int, 13> levels = {0, 20, 41, 61, 82, 102, 122, 143, 163, 184, 204, 224, 245};
    for (int i = 0; i < 13; ++i) {
        const auto& top = lines[2 * i];
        const auto& bottom = lines[2 * i + 1];
        const platform::TColor grey = static_cast<platform::TColor>(levels[i]) * 0x010101u;
        EXPECT_EQ(top.pen.Color, grey) << "pass " << i;
        EXPECT_EQ(top.points[0], (platform::Point{10, 59 + i}));
        EXPECT_EQ(top.points[1], (platform::Point{60, 59 + i}));
        EXPECT_EQ(bottom.pen.Color, grey) << "pass " << i;
        EXPECT_EQ(bottom.points[0], (platform::Point{10, 84 - i}));
    }
    EXPECT_EQ(lines[26].ToString(), "Line(10,59)-(10,84) pen=000000/1/solid");
    EXPECT_EQ(lines[27].ToString(), "Line(60,59)-(60,84) pen=000000/1/solid");
    EXPECT_EQ(canvas.CurrentPen().Color, 0x000000u);
}

TEST(PumpTube, FlatTubeDrawsOneBlackLineInsteadOfDividingByZero) {
    RecordingCanvas canvas;
    TPump::DrawTube(canvas, 0, 5, 10, 5);
    const std::vector<std::string> expected = {
        "Line(0,5)-(10,5) pen=000000/1/solid",
        "Line(0,5)-(10,5) pen=000000/1/solid",
        "Line(0,5)-(0,5) pen=000000/1/solid",
        "Line(10,5)-(10,5) pen=000000/1/solid",
    };
    EXPECT_EQ(canvas.Lines(), expected);
}

TEST_F(PumpTest, NarrowPumpsPaintWithoutFailing) {
    for (int width : {0, 1, 2, 3, 4}) {
        const RecordingCanvas canvas = PaintAt(width);
        EXPECT_FALSE(canvas.Primitives().empty()) << "width " << width;
        EXPECT_EQ(pump.height(), symbols::Round(0.75L * width));
    }
}

}  // namespace
