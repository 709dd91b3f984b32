#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <functional>
#include <string>
#include <vector>

#include "platform/canvas/QtCanvas.h"
#include "platform/canvas/QtImage.h"
#include "platform/canvas/SystemColor.h"

using platform::Canvas;
using platform::PenStyle;
using platform::Point;
using platform::QtCanvas;
using platform::QtImage;

namespace {

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "canvas-test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

constexpr platform::TColor kRed = 0x0000FF;
constexpr platform::TColor kBlue = 0xFF0000;

// Draws on a transparent image at the given device pixel ratio and returns
// the pixels as rows of characters: '.' untouched, 'R' red, 'B' blue,
// '#' black, '?' anything else. At ratio 2 every device pixel is a character.
std::vector<std::string> Draw(int w, int h, const std::function<void(Canvas&)>& paint,
                              qreal ratio = 1.0) {
    App();
    QImage image(int(w * ratio), int(h * ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter, QSize(w, h));
        paint(canvas);
    }
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 0)
                row += '.';
            else if (c == qRgb(255, 0, 0))
                row += 'R';
            else if (c == qRgb(0, 0, 255))
                row += 'B';
            else if (c == qRgb(0, 0, 0))
                row += '#';
            else
                row += '?';
        }
        rows.push_back(row);
    }
    return rows;
}

void RedPenBlueFill(Canvas& c, int width = 1) {
    c.SetPenColor(kRed);
    c.SetPenWidth(width);
    c.SetBrushColor(kBlue);
}

TEST(QtCanvas, RectangleCoversX1ToX2MinusOne) {
    const std::vector<std::string> expected = {
        "..........",  //
        "..........",  //
        "..RRRRRR..",  //
        "..RBBBBR..",  //
        "..RBBBBR..",  //
        "..RRRRRR..",  //
        "..........",
    };
    EXPECT_EQ(Draw(10, 7,
                   [](Canvas& c) {
                       RedPenBlueFill(c);
                       c.Rectangle(2, 2, 8, 6);
                   }),
              expected);
}

TEST(QtCanvas, EllipseStaysInsideItsBox) {
    const auto rows = Draw(12, 9, [](Canvas& c) {
        RedPenBlueFill(c);
        c.Ellipse(1, 1, 11, 8);
    });
    EXPECT_EQ(rows[0], "............");
    EXPECT_EQ(rows[8], "............");
    EXPECT_EQ(rows[4], ".RBBBBBBBBR.");  // widest row touches x 1 and 10
    EXPECT_EQ(rows[1][5], 'R');          // top edge at y 1
    EXPECT_EQ(rows[7][5], 'R');          // bottom edge at y 7
}

TEST(QtCanvas, WidePenIsCentredOnTheOutline) {
    const auto rows = Draw(12, 10, [](Canvas& c) {
        RedPenBlueFill(c, 3);
        c.Rectangle(2, 2, 10, 8);
    });
    // Outline at x 2 and 9, y 2 and 7; a 3-pixel pen reaches one pixel either side.
    EXPECT_EQ(rows[4], ".RRRBBBBRRR.");
    EXPECT_EQ(rows[0], "............");
    EXPECT_EQ(rows[9], "............");
    EXPECT_EQ(rows[1][5], 'R');
    EXPECT_EQ(rows[8][5], 'R');
}

TEST(QtCanvas, LineToLeavesTheEndPointUnpainted) {
    Point current;
    const auto rows = Draw(10, 8, [&current](Canvas& c) {
        c.SetPenColor(0x000000);
        c.MoveTo(1, 1);
        c.LineTo(8, 1);
        c.MoveTo(1, 3);
        c.LineTo(1, 7);
        c.LineTo(5, 7);
    });
    EXPECT_EQ(rows[1], ".#######..");
    EXPECT_EQ(rows[3], ".#........");
    EXPECT_EQ(rows[6], ".#........");
    EXPECT_EQ(rows[7], ".####.....");  // the corner is painted once by the second line
}

TEST(QtCanvas, PolylineLeavesItsLastPointUnpainted) {
    const auto rows = Draw(10, 7, [](Canvas& c) {
        c.SetPenColor(0x000000);
        const Point points[] = {{1, 1}, {8, 1}, {8, 5}};
        c.Polyline(points);
    });
    EXPECT_EQ(rows[1], ".########.");
    EXPECT_EQ(rows[4], "........#.");
    EXPECT_EQ(rows[5], "..........");
}

TEST(QtCanvas, PolygonIsClosedOutlinedAndFilled) {
    const std::vector<std::string> expected = {
        "..........",  //
        ".RRRRRRRR.",  //
        ".RBBBBBBR.",  //
        ".RRRRRRRR.",  //
        "..........",
    };
    EXPECT_EQ(Draw(10, 5,
                   [](Canvas& c) {
                       RedPenBlueFill(c);
                       const Point points[] = {{1, 1}, {8, 1}, {8, 3}, {1, 3}};
                       c.Polygon(points);
                   }),
              expected);
}

TEST(QtCanvas, ArcRunsCounterClockwiseFromStartRayToEndRay) {
    // From the top of the circle to its left side: the upper-left quarter only.
    const auto quarter = Draw(13, 13, [](Canvas& c) {
        c.SetPenColor(0x000000);
        c.Arc(0, 0, 12, 12, 6, 0, 0, 6);
    });
    EXPECT_EQ(quarter[1][2], '#');
    EXPECT_EQ(quarter[5][0], '#');
    EXPECT_EQ(quarter[11][6], '.');  // bottom
    EXPECT_EQ(quarter[6][11], '.');  // right side
    // Swapped rays: the other three quarters.
    const auto rest = Draw(13, 13, [](Canvas& c) {
        c.SetPenColor(0x000000);
        c.Arc(0, 0, 12, 12, 0, 6, 6, 0);
    });
    EXPECT_EQ(rest[1][2], '.');
    EXPECT_EQ(rest[11][6], '#');
    EXPECT_EQ(rest[6][11], '#');
}

TEST(QtCanvas, ArcLiesOnTheEllipseOutline) {
    const auto outline = Draw(13, 11, [](Canvas& c) {
        c.SetPenColor(0x000000);
        c.SetBrushStyle(platform::BrushStyle::Clear);
        c.Ellipse(0, 0, 12, 10);
    });
    const auto full = Draw(13, 11, [](Canvas& c) {
        c.SetPenColor(0x000000);
        c.Arc(0, 0, 12, 10, 6, 0, 6, 0);  // equal rays: the whole ellipse
    });
    EXPECT_EQ(full, outline);
    const auto part = Draw(13, 11, [](Canvas& c) {
        c.SetPenColor(0x000000);
        c.Arc(0, 0, 12, 10, 12, 5, 6, 0);  // right side up to the top
    });
    int painted = 0;
    for (size_t y = 0; y < part.size(); ++y)
        for (size_t x = 0; x < part[y].size(); ++x)
            if (part[y][x] == '#') {
                ++painted;
                EXPECT_EQ(outline[y][x], '#') << x << "," << y;
                EXPECT_GE(x, 6u);
                EXPECT_LE(y, 5u);
            }
    EXPECT_GT(painted, 5);
}

TEST(QtCanvas, WidePenOnAnEllipseIsCentredOnItsOutline) {
    const auto rows = Draw(16, 14, [](Canvas& c) {
        RedPenBlueFill(c, 3);
        c.Ellipse(2, 2, 14, 12);
    });
    // The one-pixel outline would touch x 2 and 13, y 2 and 11.
    EXPECT_EQ(rows[7], ".RRRBBBBBBBBRRR.");
    EXPECT_EQ(rows[0], "................");
    EXPECT_EQ(rows[1].substr(5, 6), "RRRRRR");
    EXPECT_EQ(rows[12].substr(5, 6), "RRRRRR");
    EXPECT_EQ(rows[13], "................");
}

TEST(QtCanvas, DottedPenIsThreeOnThreeOff) {
    const auto rows = Draw(20, 3, [](Canvas& c) {
        c.SetPenColor(0x000000);
        c.SetPenStyle(PenStyle::Dot);
        c.MoveTo(0, 1);
        c.LineTo(20, 1);
    });
    EXPECT_EQ(rows[1], "###...###...###...##");
}

TEST(QtCanvas, ClearPenAndClearBrushLeaveNoMark) {
    const auto rows = Draw(6, 6, [](Canvas& c) {
        c.SetPenStyle(PenStyle::Clear);
        c.SetBrushStyle(platform::BrushStyle::Clear);
        const Point points[] = {{0, 0}, {5, 0}, {5, 5}};
        c.Polygon(points);
        c.Rectangle(0, 0, 6, 6);
    });
    EXPECT_EQ(rows, std::vector<std::string>(6, "......"));
}

TEST(QtCanvas, RatioTwoDoublesEveryLogicalPixel) {
    const auto paint = [](Canvas& c) {
        RedPenBlueFill(c, 3);
        c.Rectangle(0, 0, 12, 9);
        c.SetPenWidth(1);
        c.SetPenColor(0x000000);
        c.MoveTo(2, 2);
        c.LineTo(9, 6);
        c.Arc(1, 1, 11, 8, 6, 1, 1, 4);
    };
    const auto single = Draw(12, 9, paint, 1.0);
    const auto doubled = Draw(12, 9, paint, 2.0);
    ASSERT_EQ(doubled.size(), 18u);
    for (size_t y = 0; y < doubled.size(); ++y)
        for (size_t x = 0; x < doubled[y].size(); ++x)
            ASSERT_EQ(doubled[y][x], single[y / 2][x / 2]) << "device pixel " << x << "," << y;
}

TEST(QtCanvas, SystemFaceColourResolvesToTheClassicFace) {
    EXPECT_EQ(platform::ResolveColor(platform::kBtnFace), QColor(212, 208, 200));
    EXPECT_EQ(platform::ResolveColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(platform::ResolveColor(0x8AC6C6), QColor(0xC6, 0xC6, 0x8A));
    EXPECT_EQ(platform::ResolveColor(0xFF000005), QColor(255, 255, 255));  // window
    EXPECT_EQ(platform::ResolveColor(0xFF0000FF), QColor(212, 208, 200));  // unknown index
}

TEST(QtCanvas, TextIsAlignedInItsBoxAndMeasured) {
    App();
    QtImage image(80, 20);
    Canvas& c = image.canvas();
    platform::FontSpec font;
    font.Family = "DejaVu Sans";
    font.PixelHeight = 12;
    c.SetFont(font);
    // A text line is the font's cell plus its internal leading: taller than the cell.
    QFont cellFont("DejaVu Sans");
    cellFont.setPixelSize(12);
    EXPECT_GT(c.TextHeight(), QFontMetrics(cellFont).height());
    EXPECT_EQ(c.TextWidth(""), 0);
    EXPECT_GT(c.TextWidth("WWWW"), c.TextWidth("W"));
    c.SetBrushStyle(platform::BrushStyle::Clear);
    c.TextRect({0, 0, 80, 20}, "I", platform::TextAlign::Right);
    const QImage& pixels = image.image();
    int leftmost = 80;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            if (qAlpha(pixels.pixel(x, y)) != 0) leftmost = std::min(leftmost, x);
    EXPECT_GT(leftmost, 60);  // ink only near the right edge
    EXPECT_LT(leftmost, 80);
}

TEST(QtCanvas, CopyRectIsClippedToTheTargetClip) {
    App();
    QtImage source(10, 10);
    source.canvas().SetBrushColor(kBlue);
    source.canvas().FillRect({0, 0, 10, 10});
    QImage target(10, 10, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    {
        QPainter painter(&target);
        painter.setClipRect(QRect(0, 0, 4, 10));
        QtCanvas canvas(painter);
        // The source block reaches past the image; only what exists is copied.
        canvas.CopyRect({2, 2}, source, {5, 5, 20, 20});
    }
    EXPECT_EQ(target.pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(target.pixel(4, 3)), 0);  // outside the clip
    EXPECT_EQ(qAlpha(target.pixel(1, 1)), 0);  // before the destination
    EXPECT_EQ(qAlpha(target.pixel(3, 8)), 0);  // past the source image
}

}  // namespace
