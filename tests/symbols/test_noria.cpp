#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "symbols/Noria.h"
#include "tests/symbols/DeviceSymbolTestApp.h"

using platform::RecordingCanvas;
using symbols::TNoria;
using symbols::TState;
using K = RecordingCanvas::Kind;
using O = TNoria::TOrientation;

namespace {

class NoriaTest : public ::testing::Test {
protected:
    NoriaTest() { noria.resize(96, 460); }

    RecordingCanvas Paint() {
        RecordingCanvas canvas;
        noria.Paint(canvas);
        return canvas;
    }

    symbols_test::WithApp app;
    TNoria noria;
};

std::vector<std::string> Texts(const std::vector<RecordingCanvas::Primitive>& list) {
    std::vector<std::string> out;
    for (const auto& p : list) out.push_back(p.ToString());
    return out;
}

TEST_F(NoriaTest, ConsoleElevatorDrawsHeadBootAndBelt) {
    noria.setBottomOpientation(O::noRight);
    const RecordingCanvas canvas = Paint();
    EXPECT_EQ(noria.size(), QSize(96, 460));
    const std::vector<std::string> shapes = {
        "Polygon((95,16),(58,0),(38,0),(30,8),(30,37),(66,37),(66,18),(80,18),(80,20),(95,20)) "
        "pen=000000/1/solid brush=8AC6C6",
        "Polygon((30,446),(82,446),(66,458),(30,458)) pen=000000/1/solid brush=8AC6C6",
        "Polygon((40,458),(56,458),(53,454),(43,454)) pen=000000/1/solid brush=FF00000F",
        "Ellipse(38,436,58,456) pen=000000/1/solid brush=FF00000F",
        "Ellipse(40,438,56,454) pen=000000/1/solid brush=FF00000F",
        "Ellipse(44,441,53,451) pen=000000/2/solid brush=C0C0C0",
        "Ellipse(42,18,54,30) pen=000000/2/solid brush=C0C0C0",
        "Rectangle(29,434,67,460) pen=008000/2/solid brush=clear",
        "Polygon((48,414),(52,420),(50,420),(50,430),(46,430),(46,420),(44,420)) pen=clear "
        "brush=clear",
        "Polygon((48,42),(52,48),(50,48),(50,58),(46,58),(46,48),(44,48)) pen=clear brush=clear",
    };
    EXPECT_EQ(symbols_test::Shapes(canvas), shapes);
    const std::vector<std::string> belt = {
        "Line(43,446)-(43,416) pen=000000/1/solid", "Line(53,446)-(53,416) pen=000000/1/solid",
        "Line(43,37)-(43,67) pen=000000/1/solid",   "Line(53,37)-(53,67) pen=000000/1/solid",
        "Line(43,67)-(43,416) pen=000000/1/dot",    "Line(53,67)-(53,416) pen=000000/1/dot",
    };
    EXPECT_EQ(Texts(canvas.Of(K::Line)), belt);
}

TEST_F(NoriaTest, BucketsSitNearHeadAndBoot) {
    const auto buckets = Paint().Of(K::Polyline);
    ASSERT_EQ(buckets.size(), 12u);
    // k = 0: head left, head right, boot left, boot right; then k = 1, 2 ten pixels on.
    EXPECT_EQ(buckets[0].ToString(),
              "Polyline((33,41),(33,43),(41,43),(41,41)) pen=000000/1/solid");
    EXPECT_EQ(buckets[1].ToString(),
              "Polyline((54,43),(54,41),(62,41),(62,43)) pen=000000/1/solid");
    EXPECT_EQ(buckets[2].ToString(),
              "Polyline((33,441),(33,443),(41,443),(41,441)) pen=000000/1/solid");
    EXPECT_EQ(buckets[3].ToString(),
              "Polyline((54,443),(54,441),(62,441),(62,443)) pen=000000/1/solid");
    EXPECT_EQ(buckets[10].ToString(),
              "Polyline((33,421),(33,423),(41,423),(41,421)) pen=000000/1/solid");
}

TEST_F(NoriaTest, AnyWidthBecomesNinetySix) {
    noria.resize(300, 200);
    Paint();
    EXPECT_EQ(noria.size(), QSize(96, 200));
}

TEST_F(NoriaTest, HeadAndBootSidesAreIndependent) {
    noria.setTopOpientation(O::noBoth);
    noria.setBottomOpientation(O::noBoth);
    auto polygons = Paint().Of(K::Polygon);
    EXPECT_EQ(polygons[0].points.size(), 14u);
    EXPECT_EQ(polygons[1].ToString(),
              "Polygon((14,446),(82,446),(66,458),(30,458)) pen=000000/1/solid brush=8AC6C6");
    noria.setTopOpientation(O::noLeft);
    noria.setBottomOpientation(O::noLeft);
    polygons = Paint().Of(K::Polygon);
    EXPECT_EQ(polygons[0].points.front(), (platform::Point{1, 16}));
    EXPECT_EQ(polygons[1].ToString(),
              "Polygon((14,446),(66,446),(66,458),(30,458)) pen=000000/1/solid brush=8AC6C6");
}

TEST_F(NoriaTest, ModeShowsOnlyAroundTheBoot) {
    const auto before = Paint().Lines();
    noria.setMode(symbols::TMode::Repair);
    const auto after = Paint().Lines();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i].rfind("Rectangle", 0) == 0)
            EXPECT_EQ(after[i], "Rectangle(29,434,67,460) pen=008080/2/solid brush=clear");
        else
            EXPECT_EQ(after[i], before[i]);
    }
}

TEST_F(NoriaTest, RunningElevatorShowsBlinkingArrowsAndAlarmFlashesTheHubs) {
    noria.setState(TState::Run);
    noria.FlashTimerTick();
    auto arrows = Paint().Of(K::Polygon);
    EXPECT_EQ(arrows[3].pen.Color, symbols::clGreen);
    EXPECT_EQ(arrows[3].brush.Color, 0x96D296u);
    noria.setAlarm(true);
    noria.FlashTimerTick();
    const RecordingCanvas canvas = Paint();
    const auto hubs = canvas.Of(K::Ellipse);
    EXPECT_EQ(hubs[2].brush.Color, symbols::clRed);
    EXPECT_EQ(hubs[3].brush.Color, symbols::clRed);
    EXPECT_EQ(canvas.Of(K::Polygon)[3].brush.Color, symbols::clBtnFace);
}

TEST_F(NoriaTest, ShortElevatorPaintsAsComputed) {
    noria.resize(96, 50);
    const auto lines = Paint().Of(K::Line);
    // The dotted run goes upwards below 111 pixels; nothing is adapted.
    EXPECT_EQ(lines[4].ToString(), "Line(43,67)-(43,6) pen=000000/1/dot");
}

}  // namespace
