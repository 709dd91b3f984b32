#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <functional>
#include <string>
#include <vector>

#include "platform/canvas/QtCanvas.h"

using platform::Canvas;
using platform::Point;
using platform::QtCanvas;

namespace {

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "shape-raster-test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

constexpr int kSize = 48;

// The same drawing twice: once with pixels written into the image, once
// through QPainter (a clip covering the whole image keeps the canvas from
// writing pixels itself). `shift` moves the painter by whole pixels.
QImage Paint(bool throughPainter, const std::function<void(Canvas&)>& draw, QPoint shift = {}) {
    App();
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(shift);
    if (throughPainter) painter.setClipRect(QRect(-shift, QSize(kSize, kSize)));
    {
        QtCanvas canvas(painter);
        draw(canvas);
    }
    painter.end();
    return image;
}

std::vector<std::string> Rows(const QImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            row += qAlpha(c) == 0         ? '.'
                   : c == qRgb(255, 0, 0) ? 'R'
                   : c == qRgb(0, 0, 255) ? 'B'
                                          : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

void ExpectSameAsPainter(const std::function<void(Canvas&)>& draw, QPoint shift = {}) {
    EXPECT_EQ(Rows(Paint(false, draw, shift)), Rows(Paint(true, draw, shift)));
}

struct PenCase {
    int width;
    bool filled;
};
void PrintTo(const PenCase& p, std::ostream* os) {
    *os << "pen " << p.width << (p.filled ? " filled" : " outline");
}

class SlantedShapes : public ::testing::TestWithParam<PenCase> {
protected:
    void Style(Canvas& c) const {
        c.SetPenColor(0x0000FF);  // red
        c.SetPenWidth(GetParam().width);
        c.SetBrushColor(0xFF0000);  // blue
        c.SetBrushStyle(GetParam().filled ? platform::BrushStyle::Solid
                                          : platform::BrushStyle::Clear);
    }
};

// A display segment, a thin wedge and a concave arrow, each drawn at two
// places so the second one reuses the first one's pixels.
const std::vector<std::vector<Point>> kPolygons = {
    {{3, 0}, {14, 0}, {15, 1}, {12, 4}, {5, 4}, {2, 1}},
    {{1, 2}, {4, 5}, {4, 10}, {1, 13}, {0, 12}, {0, 3}},
    {{0, 0}, {17, 3}, {2, 9}},
    {{0, 4}, {8, 4}, {8, 0}, {15, 7}, {8, 14}, {8, 10}, {0, 10}},
};

std::vector<Point> Moved(const std::vector<Point>& points, int dx, int dy) {
    std::vector<Point> out = points;
    for (Point& p : out) p = {p.X + dx, p.Y + dy};
    return out;
}

TEST_P(SlantedShapes, PolygonsMatchQPainterWhereverTheyAreDrawn) {
    for (const auto& polygon : kPolygons) {
        ExpectSameAsPainter([&](Canvas& c) {
            Style(c);
            c.Polygon(Moved(polygon, 4, 5));
            c.Polygon(Moved(polygon, 23, 27));
        });
    }
}

TEST_P(SlantedShapes, SlantedLinesMatchQPainterInEveryDirection) {
    ExpectSameAsPainter([&](Canvas& c) {
        Style(c);
        // Rays from one apex, as on a roof, in all four quadrants.
        for (const Point& end : std::vector<Point>{
                 {4, 20}, {13, 20}, {40, 21}, {44, 30}, {3, 3}, {45, 5}, {30, 44}, {10, 46}}) {
            c.MoveTo(24, 12);
            c.LineTo(end.X, end.Y);
        }
    });
}

TEST_P(SlantedShapes, ShapesCutByTheImageEdgeMatchQPainter) {
    ExpectSameAsPainter([&](Canvas& c) {
        Style(c);
        c.Polygon(Moved(kPolygons[0], -5, -2));
        c.Polygon(Moved(kPolygons[3], 38, 40));
        c.MoveTo(-6, 10);
        c.LineTo(20, -3);
    });
}

TEST_P(SlantedShapes, ShiftedPainterMatchesQPainter) {
    ExpectSameAsPainter(
        [&](Canvas& c) {
            Style(c);
            c.Polygon(Moved(kPolygons[2], 2, 2));
            c.MoveTo(0, 0);
            c.LineTo(17, 9);
        },
        QPoint(7, 3));
}

INSTANTIATE_TEST_SUITE_P(Pens, SlantedShapes,
                         ::testing::Values(PenCase{1, true}, PenCase{1, false}, PenCase{2, true},
                                           PenCase{2, false}, PenCase{3, true}, PenCase{0, true}));

TEST(SlantedShapes, PolygonWithoutPenIsFilledLikeQPainterFillsIt) {
    ExpectSameAsPainter([](Canvas& c) {
        c.SetPenStyle(platform::PenStyle::Clear);
        c.SetBrushColor(0xFF0000);
        c.Polygon(Moved(kPolygons[1], 10, 10));
        c.Polygon(Moved(kPolygons[3], 20, 30));
    });
}

// The corner of the picture, `size` pixels square.
std::vector<std::string> Corner(const QImage& image, int size) {
    std::vector<std::string> rows = Rows(image);
    rows.resize(static_cast<size_t>(size));
    for (std::string& row : rows) row.resize(static_cast<size_t>(size));
    return rows;
}

TEST(SlantedShapes, DiagonalTwoPixelLineIsABandWithRoundEnds) {
    const QImage image = Paint(false, [](Canvas& c) {
        c.SetPenColor(0x0000FF);
        c.SetPenWidth(2);
        c.MoveTo(1, 1);
        c.LineTo(6, 6);
        c.LineTo(6, 6);  // an empty step paints nothing
    });
    const std::vector<std::string> expected = {
        "RR.......",  //
        "RRR......",  //
        ".RRR.....",  //
        "..RRR....",  //
        "...RRR...",  //
        "....RRR..",  //
        ".....RR..",  //
        ".........",  //
        ".........",  //
    };
    EXPECT_EQ(Corner(image, 9), expected);
}

}  // namespace
