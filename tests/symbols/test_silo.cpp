#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "symbols/Silo.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/symbols/PaintProbe.h"

using platform::RecordingCanvas;
using symbols::TSilo;

namespace {

// The body lines of a silo drawing (vertical, from the roof line down), in
// drawing order, and the roof lines (from the apex).
struct SiloLines {
    std::vector<RecordingCanvas::Primitive> body, roof;
};

SiloLines Split(const RecordingCanvas& canvas) {
    SiloLines lines;
    for (const auto& line : canvas.Of(RecordingCanvas::Kind::Line))
        (line.points[0].X == line.points[1].X && line.points[0].Y != 0 ? lines.body : lines.roof)
            .push_back(line);
    return lines;
}

platform::TColor Grey(int level) {
    const auto v = static_cast<platform::TColor>(level);
    return v << 16 | v << 8 | v;
}

RecordingCanvas PaintSilo(TSilo& silo, int w, int h, int cover, platform::TColor color) {
    silo.resize(w, h);
    silo.setCover(cover);
    silo.setColor(color);
    RecordingCanvas canvas;
    silo.Paint(canvas);
    return canvas;
}

}  // namespace

TEST(SiloDefaults, NewSiloIsBlackHundredSquareWithATenthRoof) {
    TSilo silo;
    EXPECT_EQ(silo.width(), 100);
    EXPECT_EQ(silo.height(), 100);
    EXPECT_EQ(silo.Cover(), 10);
    EXPECT_EQ(silo.Color(), 0x000000u);
    for (const char* name : {"Cover", "Color"})
        EXPECT_GE(silo.metaObject()->indexOfProperty(name), 0) << name;
}

TEST(StorageSilo, LeftPassShadesFromBlackTowardsWhiteOverFourteenLines) {
    TSilo silo;
    const RecordingCanvas canvas = PaintSilo(silo, 70, 80, 20, 0x000000);
    const std::vector<int> greys = {0, 18, 36, 55, 73, 91, 109, 128, 146, 164, 182, 200, 219, 237};
    const SiloLines lines = Split(canvas);
    ASSERT_GE(lines.body.size(), greys.size());
    for (size_t k = 0; k < greys.size(); ++k) {
        const auto& line = lines.body[k];
        EXPECT_EQ(line.pen.Color, Grey(greys[k])) << "x = " << k;
        EXPECT_EQ(line.pen.Width, 2);
        EXPECT_EQ(line.points[0], (platform::Point{int(k), 16}));
        EXPECT_EQ(line.points[1], (platform::Point{int(k), 80}));
        // ... and its roof line from the apex, in the same shade.
        EXPECT_EQ(lines.roof[k].points[0], (platform::Point{35, 0}));
        EXPECT_EQ(lines.roof[k].points[1], (platform::Point{int(k), 16}));
        EXPECT_EQ(lines.roof[k].pen.Color, Grey(greys[k]));
    }
}

TEST(StorageSilo, RightPassShadesFromTheRightEdgeOverFiftySixLines) {
    TSilo silo;
    const SiloLines lines = Split(PaintSilo(silo, 70, 80, 20, 0x000000));
    ASSERT_EQ(lines.body.size(), 14u + 56u);
    const auto& first = lines.body[14];
    const auto& second = lines.body[15];
    const auto& last = lines.body.back();
    EXPECT_EQ(first.points[0].X, 70);
    EXPECT_EQ(first.pen.Color, Grey(0));
    EXPECT_EQ(second.points[0].X, 69);
    EXPECT_EQ(second.pen.Color, Grey(5));  // 255 / 56 = 4.55
    EXPECT_EQ(last.points[0].X, 15);
    EXPECT_EQ(last.pen.Color, Grey(250));  // 55 steps short of white
}

TEST(StorageSilo, BodyOutlineIsAThinBlackFrameBelowTheRoof) {
    TSilo silo;
    const RecordingCanvas canvas = PaintSilo(silo, 70, 80, 20, 0x000000);
    EXPECT_EQ(canvas.Primitives().back().ToString(),
              "Rectangle(0,16,70,80) pen=000000/1/solid brush=clear");
}

struct SiloCase {
    const char* name;
    int w, h, cover;
    int roofLine, leftLines, rightLines;
};

class SiloGeometry : public ::testing::TestWithParam<SiloCase> {};

TEST_P(SiloGeometry, RoofLineAndShadeLineCounts) {
    const SiloCase& c = GetParam();
    TSilo silo;
    const RecordingCanvas canvas = PaintSilo(silo, c.w, c.h, c.cover, 0x000000);
    EXPECT_EQ(silo.RoofLine(), c.roofLine);
    const SiloLines lines = Split(canvas);
    // Each shade line draws a body line and a roof line.
    const auto all = canvas.Of(RecordingCanvas::Kind::Line);
    EXPECT_EQ(all.size(), 2u * (c.leftLines + c.rightLines));
    const auto rect = canvas.Of(RecordingCanvas::Kind::Rectangle);
    ASSERT_EQ(rect.size(), 1u);
    EXPECT_EQ(rect[0].points[0].Y, c.roofLine);
    // The last left line and the first right line.
    if (c.leftLines > 0) {
        EXPECT_EQ(all[2 * (c.leftLines - 1)].points[0].X, c.leftLines - 1);
    }
    if (c.rightLines > 0) {
        EXPECT_EQ(all[2 * c.leftLines].points[0].X, c.w);
    }
}

INSTANTIATE_TEST_SUITE_P(ConsoleSilos, SiloGeometry,
                         ::testing::Values(SiloCase{"storage", 70, 80, 20, 16, 14, 56},
                                           // Silo6: no roof, a shaded box.
                                           SiloCase{"unloading", 41, 17, 0, 0, 8, 33},
                                           // Silo9: 73 x 20 / 100 = 14.6.
                                           SiloCase{"information", 65, 73, 20, 15, 13, 52},
                                           // Below 3 pixels the left pass is empty.
                                           SiloCase{"narrow", 2, 50, 10, 5, 0, 2},
                                           // Width 0: no shading at all, nothing divides by zero.
                                           SiloCase{"empty", 0, 50, 10, 5, 0, 0},
                                           // Cover above 100: the roof line lies below the bottom.
                                           SiloCase{"deep roof", 10, 20, 150, 30, 2, 8}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (ch == ' ') ch = '_';
                             return name;
                         });

TEST(SiloColour, HalfwayRoofLinesRoundToEven) {
    TSilo silo;
    silo.resize(10, 45);
    silo.setCover(50);  // 22.5 -> 22
    EXPECT_EQ(silo.RoofLine(), 22);
    silo.resize(10, 47);  // 23.5 -> 24
    EXPECT_EQ(silo.RoofLine(), 24);
}

TEST(SiloColour, MaroonSiloShadesFromDarkRed) {
    TSilo silo;
    const SiloLines lines = Split(PaintSilo(silo, 70, 80, 20, 0x000080));
    EXPECT_EQ(lines.body[0].pen.Color, 0x000080u);
    // Red climbs (255 - 128) / 14 per line, green and blue 255 / 14.
    EXPECT_EQ(lines.body[1].pen.Color, 0x121289u);
}

TEST(SiloColour, WhiteSiloDrawsEveryLineWhite) {
    TSilo silo;
    for (const auto& line : Split(PaintSilo(silo, 70, 80, 20, 0xFFFFFF)).body)
        EXPECT_EQ(line.pen.Color, 0xFFFFFFu);
}

TEST(SiloColour, SystemColourIsTakenByItsLowBytes) {
    TSilo silo;
    const SiloLines lines = Split(PaintSilo(silo, 70, 80, 20, platform::kBtnFace));
    EXPECT_EQ(lines.body[0].pen.Color, 0x00000Fu);
}

TEST(SiloSetters, EveryAssignmentRequestsARedrawEvenWhenUnchanged) {
    TSilo silo;
    ShowAndSettle(silo);
    PaintProbe probe(silo);
    silo.setColor(silo.Color());
    Flush();
    EXPECT_EQ(probe.count, 1);
    silo.setCover(silo.Cover());
    Flush();
    EXPECT_EQ(probe.count, 2);
}

TEST(SiloScreen, ShowsTheSameDrawingAsTheCanvasAndAfterAColourChange) {
    TSilo silo;
    silo.resize(70, 80);
    silo.setCover(20);
    auto draw = [&](platform::Canvas& canvas) { silo.Paint(canvas); };
    EXPECT_EQ(OnScreen(silo), ThroughCanvas(silo.size(), draw));
    silo.setColor(0x000080);
    EXPECT_EQ(OnScreen(silo), ThroughCanvas(silo.size(), draw));
    silo.resize(41, 17);
    EXPECT_EQ(OnScreen(silo), ThroughCanvas(silo.size(), draw));
}

SYMBOL_TEST_MAIN()
