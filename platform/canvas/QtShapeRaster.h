#pragma once

#include <QPainter>
#include <QPoint>
#include <span>
#include <vector>

#include "platform/canvas/Canvas.h"
#include "platform/canvas/EllipseRaster.h"

namespace platform {

// The pixels QPainter paints for an aliased polygon or line, as runs, from a
// small per-thread cache. Symbols draw the same few shapes on every repaint
// (segments of a display, rays of a roof), only moved by whole pixels, and
// aliased rasterization moves with them pixel for pixel. So each shape is
// painted once into a scratch image in two marker colours, read back as runs
// of outline and fill, and later repaints only write those runs.
class QtShapeRaster {
public:
    // Runs relative to the top-left corner of the shape's points.
    struct Shape {
        std::vector<PixelRun> fill;    // pixels painted by the brush only
        std::vector<PixelRun> stroke;  // pixels painted by the pen
        // Box around both, inclusive; empty (right < left) when nothing is painted.
        int left = 0, top = 0, right = -1, bottom = -1;
    };

    // A solid pen, or none when `width` is 0.
    struct Stroke {
        int width = 1;
        Qt::PenCapStyle cap = Qt::FlatCap;
        Qt::PenJoinStyle join = Qt::MiterJoin;
    };

    // The pixels of drawPolygon(points) with the stroke's pen and, when
    // `filled`, a solid brush; `origin` receives the corner the runs are
    // relative to. Null when the shape is not cached (very large or
    // many-pointed): the caller paints it itself.
    static const Shape* Polygon(std::span<const Point> points, const Stroke& stroke, bool filled,
                                QPainter::RenderHints hints, QPoint& origin);

    // The pixels of drawLine(from, to) with the stroke's pen; as Polygon().
    static const Shape* Line(Point from, Point to, const Stroke& stroke,
                             QPainter::RenderHints hints, QPoint& origin);
};

}  // namespace platform
