#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "symbols/Conveyor.h"
#include "symbols/ConveyorGeometry.h"
#include "tests/symbols/DeviceSymbolTestApp.h"

using platform::RecordingCanvas;
using symbols::ConveyorGeometry;
using symbols::TConveyor;
using symbols::TState;
using K = RecordingCanvas::Kind;

namespace {

class ConveyorTest : public ::testing::Test {
protected:
    RecordingCanvas PaintAt(int width, int height) {
        conveyor.resize(width, height);
        RecordingCanvas canvas;
        conveyor.Paint(canvas);
        return canvas;
    }

    symbols_test::WithApp app;
    TConveyor conveyor;
};

std::vector<std::string> Texts(const std::vector<RecordingCanvas::Primitive>& list) {
    std::vector<std::string> out;
    for (const auto& p : list) out.push_back(p.ToString());
    return out;
}

TEST(ConveyorGeometry, ConsoleConveyorRollersRoundTiesToEven) {
    const ConveyorGeometry g = ConveyorGeometry::For(406, 25);
    EXPECT_EQ(g.rollerDiameter, 8);
    // 53.5, 150.5, 247.5 and 344.5 go to the even neighbour.
    const std::vector<int> rollers = {5,   29,  54,  78,  102, 126, 150, 175, 199,
                                      223, 248, 272, 296, 320, 344, 369, 393};
    EXPECT_EQ(g.rollerLefts, rollers);
    EXPECT_EQ(g.arrowLefts, (std::vector<int>{57, 144, 232, 319}));
}

TEST(ConveyorGeometry, SingleRollerStaysAtTheLeftEnd) {
    const ConveyorGeometry g = ConveyorGeometry::For(45, 25);
    EXPECT_EQ(g.rollerLefts, std::vector<int>{5});
}

TEST(ConveyorGeometry, FlatOrTinyConveyorHasNoRollers) {
    EXPECT_TRUE(ConveyorGeometry::For(120, 0).rollerLefts.empty());
    EXPECT_TRUE(ConveyorGeometry::For(0, 0).rollerLefts.empty());
    EXPECT_TRUE(ConveyorGeometry::For(-5, 0).rollerLefts.empty());
    EXPECT_TRUE(ConveyorGeometry::For(-5, 0).arrowLefts.empty());
}

TEST(ConveyorGeometry, ShorterThanOneHundredHasNoArrows) {
    EXPECT_TRUE(ConveyorGeometry::For(99, 25).arrowLefts.empty());
    EXPECT_EQ(ConveyorGeometry::For(100, 25).arrowLefts, std::vector<int>{35});
}

TEST_F(ConveyorTest, ConsoleConveyorDrawsFrameSeventeenRollersBeltAndFourArrows) {
    conveyor.setState(TState::Run);
    conveyor.FlashTimerTick();  // arrows in ColorRun
    const RecordingCanvas canvas = PaintAt(406, 25);
    EXPECT_EQ(conveyor.height(), 25);
    EXPECT_EQ(canvas.Primitives().front().ToString(),
              "Rectangle(0,0,406,25) pen=008000/3/solid brush=clear");
    const auto rollers = canvas.Of(K::Ellipse);
    ASSERT_EQ(rollers.size(), 17u);
    EXPECT_EQ(rollers[2].ToString(), "Ellipse(54,12,62,20) pen=000000/3/solid brush=96D296");
    EXPECT_EQ(rollers[16].ToString(), "Ellipse(393,12,401,20) pen=000000/3/solid brush=96D296");
    const std::vector<std::string> belt = {
        "Line(9,12)-(397,12) pen=000000/2/solid",
        "Line(9,20)-(397,20) pen=000000/2/solid",
    };
    EXPECT_EQ(Texts(canvas.Of(K::Line)), belt);
    const std::vector<std::string> arrows = {
        "Polygon((57,5),(77,5),(77,2),(87,6),(77,10),(77,8),(57,8)) pen=008000/1/solid "
        "brush=96D296",
        "Polygon((144,5),(164,5),(164,2),(174,6),(164,10),(164,8),(144,8)) pen=008000/1/solid "
        "brush=96D296",
        "Polygon((232,5),(252,5),(252,2),(262,6),(252,10),(252,8),(232,8)) pen=008000/1/solid "
        "brush=96D296",
        "Polygon((319,5),(339,5),(339,2),(349,6),(339,10),(339,8),(319,8)) pen=008000/1/solid "
        "brush=96D296",
    };
    EXPECT_EQ(Texts(canvas.Of(K::Polygon)), arrows);
}

TEST_F(ConveyorTest, NewConveyorIsCutToItsMaximumHeight) {
    const RecordingCanvas canvas = PaintAt(120, 90);
    EXPECT_EQ(conveyor.size(), QSize(120, 58));
    const std::vector<std::string> expected = {
        "Rectangle(0,0,120,58) pen=008000/3/solid brush=clear",
        "Ellipse(5,34,24,53) pen=000000/3/solid brush=C0C0C0",
        "Ellipse(96,34,115,53) pen=000000/3/solid brush=C0C0C0",
        "Line(14,34)-(106,34) pen=000000/2/solid",
        "Line(14,53)-(106,53) pen=000000/2/solid",
        "Polygon((45,12),(65,12),(65,6),(75,14),(65,23),(65,17),(45,17)) pen=clear brush=clear",
    };
    EXPECT_EQ(canvas.Lines(), expected);
}

TEST_F(ConveyorTest, LowerHeightIsKept) {
    PaintAt(120, 40);
    EXPECT_EQ(conveyor.height(), 40);
}

TEST_F(ConveyorTest, LeftArrowPointsLeft) {
    conveyor.setOpientation(TConveyor::TConveyorOrientation::coLeft);
    conveyor.setState(TState::Run);
    const RecordingCanvas canvas = PaintAt(406, 25);
    EXPECT_EQ(canvas.Of(K::Polygon)[0].ToString(),
              "Polygon((87,5),(67,5),(67,2),(57,6),(67,10),(67,8),(87,8)) pen=008000/1/solid "
              "brush=FF00000F");
}

TEST_F(ConveyorTest, ArrowsLeaveNoMarkOutsideRun) {
    conveyor.setState(TState::Run);
    conveyor.FlashTimerTick();
    ASSERT_EQ(conveyor.BlinkColor(), conveyor.ColorRun());
    for (TState state : {TState::Acceleration, TState::Stop}) {
        conveyor.setState(state);
        const RecordingCanvas canvas = PaintAt(406, 25);
        for (const auto& arrow : canvas.Of(K::Polygon)) {
            EXPECT_EQ(arrow.pen.Style, platform::PenStyle::Clear);
            EXPECT_EQ(arrow.brush.Style, platform::BrushStyle::Clear);
        }
    }
}

TEST_F(ConveyorTest, RollersShowTheFlashColourOnlyWhileInAlarm) {
    conveyor.setState(TState::Acceleration);
    conveyor.setAlarm(true);
    EXPECT_EQ(PaintAt(406, 25).Of(K::Ellipse)[0].brush.Color, symbols::clBtnFace);
    conveyor.FlashTimerTick();
    EXPECT_EQ(PaintAt(406, 25).Of(K::Ellipse)[0].brush.Color, symbols::clRed);
    conveyor.setAlarm(false);
    EXPECT_EQ(PaintAt(406, 25).Of(K::Ellipse)[0].brush.Color, symbols::clYellow);
}

TEST_F(ConveyorTest, DegenerateSizesPaintWithoutFailing) {
    // One roller (after the height cut to 2), no height, narrower than 10.
    const RecordingCanvas one = PaintAt(14, 25);
    EXPECT_EQ(conveyor.height(), 2);
    EXPECT_EQ(Texts(one.Of(K::Ellipse)),
              std::vector<std::string>{"Ellipse(5,-4,6,-3) pen=000000/3/solid brush=C0C0C0"});

    const RecordingCanvas flat = PaintAt(60, 0);
    EXPECT_TRUE(flat.Of(K::Ellipse).empty());
    EXPECT_EQ(flat.Of(K::Line).size(), 2u);

    PaintAt(8, 25);
    EXPECT_EQ(conveyor.height(), 0);
    PaintAt(0, 0);
    EXPECT_EQ(conveyor.height(), 0);
}

}  // namespace
