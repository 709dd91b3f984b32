#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "symbols/Latch.h"
#include "tests/symbols/DeviceSymbolTestApp.h"

using platform::RecordingCanvas;
using symbols::TLatch;
using symbols_test::Shapes;

namespace {

class LatchTest : public ::testing::Test {
protected:
    std::vector<std::string> Drawing() {
        RecordingCanvas canvas;
        latch.Paint(canvas);
        return Shapes(canvas);
    }

    symbols_test::WithApp app;
    TLatch latch;
};

struct AngleCase {
    int ungle;
    std::string plateA;
    std::string plateB;
};
void PrintTo(const AngleCase& c, std::ostream* os) {
    *os << "angle " << c.ungle;
}

class LatchAngleTest : public LatchTest, public ::testing::WithParamInterface<AngleCase> {};

// The console's valves: 20 x 20, CloseUngle 90.
TEST_P(LatchAngleTest, PlatesTurnWithTheAngle) {
    latch.setCloseUngle(90);
    latch.setUngle(GetParam().ungle);
    const std::vector<std::string> expected = {
        "Rectangle(0,0,20,20) pen=008000/3/solid brush=FF00000F",
        "Polygon(" + GetParam().plateA + ") pen=000000/1/solid brush=000000",
        "Polygon(" + GetParam().plateB + ") pen=000000/1/solid brush=000000",
    };
    EXPECT_EQ(Drawing(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    ClosedHalfAndFullyOpen, LatchAngleTest,
    ::testing::Values(AngleCase{0, "(17,3),(17,5),(3,5),(3,3)", "(17,17),(17,15),(3,15),(3,17)"},
                      AngleCase{45, "(20,10),(19,11),(9,1),(10,0)", "(10,20),(11,19),(1,9),(0,10)"},
                      AngleCase{90, "(17,17),(15,17),(15,3),(17,3)", "(3,17),(5,17),(5,3),(3,3)"}));

TEST_F(LatchTest, DefaultValveShowsTwoVerticalBarsInAGreenFrame) {
    EXPECT_EQ(latch.size(), QSize(20, 20));
    EXPECT_EQ(latch.Ungle(), 0);
    EXPECT_EQ(latch.CloseUngle(), 0);
    const std::vector<std::string> expected = {
        "Rectangle(0,0,20,20) pen=008000/3/solid brush=FF00000F",
        "Polygon((3,3),(5,3),(5,17),(3,17)) pen=000000/1/solid brush=000000",
        "Polygon((17,3),(15,3),(15,17),(17,17)) pen=000000/1/solid brush=000000",
    };
    EXPECT_EQ(Drawing(), expected);
}

TEST_F(LatchTest, PaintMakesTheValveSquareBySideWidth) {
    latch.resize(30, 12);
    Drawing();
    EXPECT_EQ(latch.size(), QSize(30, 30));
}

TEST_F(LatchTest, FullTurnDrawsTheSameFigure) {
    latch.setUngle(0);
    const auto closed = Drawing();
    latch.setUngle(360);
    EXPECT_EQ(Drawing(), closed);
    latch.setUngle(-360);
    EXPECT_EQ(Drawing(), closed);
}

TEST_F(LatchTest, OpeningAngleAndCloseAngleAdd) {
    latch.setUngle(90);
    latch.setCloseUngle(90);
    const auto open = Drawing();
    latch.setUngle(0);
    latch.setCloseUngle(180);
    EXPECT_EQ(Drawing(), open);
}

TEST_F(LatchTest, ExtremeAnglesDoNotOverflow) {
    latch.setUngle(2147483647);
    latch.setCloseUngle(2147483647);
    EXPECT_EQ(Drawing().size(), 3u);
}

TEST_F(LatchTest, PlateColourAndModeColourAreTheirOwn) {
    latch.setColor(symbols::clNavy);
    latch.setColorRepair(symbols::clYellow);
    latch.setMode(symbols::TMode::Repair);
    const auto drawing = Drawing();
    EXPECT_EQ(drawing[0], "Rectangle(0,0,20,20) pen=00FFFF/3/solid brush=FF00000F");
    EXPECT_EQ(drawing[1], "Polygon((3,3),(5,3),(5,17),(3,17)) pen=800000/1/solid brush=800000");
}

TEST_F(LatchTest, AlarmTurnsTheBackgroundRedBeforeTheFirstTick) {
    latch.setAlarm(true);
    EXPECT_EQ(Drawing()[0], "Rectangle(0,0,20,20) pen=008000/3/solid brush=0000FF");
    latch.setAlarm(false);
    EXPECT_EQ(Drawing()[0], "Rectangle(0,0,20,20) pen=008000/3/solid brush=FF00000F");
}

TEST_F(LatchTest, PropertiesAreReachableByTheirPublishedNames) {
    EXPECT_TRUE(latch.setProperty("Ungle", 45));
    EXPECT_TRUE(latch.setProperty("CloseUngle", 90));
    EXPECT_TRUE(latch.setProperty("Color", 0x0000FFu));
    EXPECT_TRUE(latch.setProperty("Mode", QVariant::fromValue(symbols::TMode::Auto)));
    EXPECT_EQ(latch.Ungle(), 45);
    EXPECT_EQ(latch.CloseUngle(), 90);
    EXPECT_EQ(latch.Color(), 0x0000FFu);
    EXPECT_EQ(latch.Mode(), symbols::TMode::Auto);
}

}  // namespace
