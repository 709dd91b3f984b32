#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/RecordingCanvas.h"

using platform::BrushStyle;
using platform::PenStyle;
using platform::Point;
using platform::RecordingCanvas;

namespace {

TEST(RecordingCanvas, ListsEachPrimitiveWithThePenAndFillInForce) {
    RecordingCanvas c;
    c.SetPenColor(0x008000);
    c.SetPenWidth(3);
    c.SetBrushColor(platform::kBtnFace);
    c.Rectangle(0, 0, 120, 90);
    c.SetPenWidth(1);
    c.SetPenStyle(PenStyle::Dot);
    c.MoveTo(43, 67);
    c.LineTo(43, 416);
    c.SetPenStyle(PenStyle::Clear);
    c.SetBrushStyle(BrushStyle::Clear);
    const Point arrow[] = {{1, 2}, {3, 4}, {5, 6}};
    c.Polygon(arrow);
    c.SetPenStyle(PenStyle::Solid);
    c.Arc(25, 9, 95, 79, 60, 9, 25, 45);
    c.SetBrushStyle(BrushStyle::Solid);
    c.SetBrushColor(0xA0A0A0);
    c.FillRect({1, 2, 3, 4});
    const std::vector<std::string> expected = {
        "Rectangle(0,0,120,90) pen=008000/3/solid brush=FF00000F",
        "Line(43,67)-(43,416) pen=008000/1/dot",
        "Polygon((1,2),(3,4),(5,6)) pen=clear brush=clear",
        "Arc(25,9,95,79)(60,9)(25,45) pen=008000/1/solid",
        "FillRect(1,2,3,4) brush=A0A0A0",
    };
    EXPECT_EQ(c.Lines(), expected);
}

TEST(RecordingCanvas, LinesStartAtTheCurrentPointAndMoveIt) {
    RecordingCanvas c;
    c.MoveTo(1, 1);
    c.LineTo(5, 1);
    c.LineTo(5, 9);
    const Point bucket[] = {{33, 41}, {33, 43}, {41, 43}};
    c.Polyline(bucket);
    EXPECT_EQ(c.CurrentPoint(), (Point{41, 43}));
    const auto lines = c.Of(RecordingCanvas::Kind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].points[0], (Point{5, 1}));
    EXPECT_EQ(lines[1].points[1], (Point{5, 9}));
}

TEST(RecordingCanvas, TextMetricsAreFixedForPredictableLayout) {
    RecordingCanvas c;
    platform::FontSpec font;
    font.PixelHeight = 19;
    c.SetFont(font);
    EXPECT_EQ(c.TextHeight(), 19);
    EXPECT_EQ(c.TextWidth("Нория"), 5 * 9);  // code points, not bytes
    c.SetTextMetrics(3, 7);
    EXPECT_EQ(c.TextHeight(), 22);
    EXPECT_EQ(c.TextWidth("abc"), 21);
    c.TextRect({2, 2, 207, 100}, "Нория", platform::TextAlign::Center);
    const auto& text = c.Primitives().back();
    EXPECT_EQ(text.ToString(), "Text(2,2,207,100) \"Нория\"");
    EXPECT_EQ(text.align, platform::TextAlign::Center);
    EXPECT_EQ(text.font.PixelHeight, 19);
}

}  // namespace
