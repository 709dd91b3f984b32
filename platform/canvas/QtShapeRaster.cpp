#include "platform/canvas/QtShapeRaster.h"

#include <QImage>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace platform {

namespace {

// Shapes larger than this, or with more points, are not worth keeping.
constexpr long long kMaxExtent = 1024;
// Far out the painter's own rasterizer clips and loses precision; shapes
// beyond this are left to it.
constexpr long long kMaxCoordinate = 16384;
constexpr size_t kMaxPoints = 64;
// The cache is emptied when it grows past this many shapes.
constexpr size_t kMaxShapes = 4096;

enum class Kind { Polygon, Line };

// Marker colours of the scratch drawing: pen red, brush green.
constexpr QRgb kStrokeMarker = 0xFFFF0000;
constexpr QRgb kFillMarker = 0xFF00FF00;

struct KeyHash {
    size_t operator()(const std::vector<int>& key) const {
        uint64_t h = 1469598103934665603ULL;
        for (int v : key) {
            h ^= static_cast<uint32_t>(v);
            h *= 1099511628211ULL;
        }
        return static_cast<size_t>(h);
    }
};

using ShapeCache = std::unordered_map<std::vector<int>, QtShapeRaster::Shape, KeyHash>;

ShapeCache& Cache() {
    thread_local ShapeCache cache;
    return cache;
}

// Everything about the drawing that decides which pixels it covers.
void MakeKey(std::vector<int>& key, Kind kind, const QtShapeRaster::Stroke& stroke, bool filled,
             QPainter::RenderHints hints, std::span<const Point> points, Point corner) {
    key.clear();
    key.push_back(static_cast<int>(kind));
    key.push_back(stroke.width);
    key.push_back(static_cast<int>(stroke.cap));
    key.push_back(static_cast<int>(stroke.join));
    key.push_back(filled ? 1 : 0);
    key.push_back(static_cast<int>(hints.toInt()));
    for (const Point& p : points) {
        key.push_back(p.X - corner.X);
        key.push_back(p.Y - corner.Y);
    }
}

// Appends the runs of one marker colour in one row of the scratch image.
void ReadRow(const QRgb* row, int width, int y, QRgb marker, std::vector<PixelRun>& runs) {
    for (int x = 0; x < width;) {
        if (row[x] != marker) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < width && row[x] == marker) ++x;
        runs.push_back({y, start, x - 1});
    }
}

// Paints the shape once in the marker colours and reads its runs back,
// relative to `corner`.
QtShapeRaster::Shape Rasterize(Kind kind, std::span<const Point> points,
                               const QtShapeRaster::Stroke& stroke, bool filled,
                               QPainter::RenderHints hints, Point corner, int width, int height) {
    // Room for the pen and its caps around the points.
    const int pad = std::max(stroke.width, 1) + 2;
    QImage scratch(width + 2 * pad, height + 2 * pad, QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent);
    QPolygon moved(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        moved.setPoint(static_cast<int>(i), points[i].X - corner.X + pad,
                       points[i].Y - corner.Y + pad);
    {
        QPainter painter(&scratch);
        painter.setRenderHints(painter.renderHints(), false);
        painter.setRenderHints(hints, true);
        painter.setBackgroundMode(Qt::TransparentMode);
        if (stroke.width > 0) {
            QPen marker(QColor::fromRgba(kStrokeMarker), stroke.width);
            marker.setCapStyle(stroke.cap);
            marker.setJoinStyle(stroke.join);
            painter.setPen(marker);
        } else {
            painter.setPen(Qt::NoPen);
        }
        painter.setBrush(filled ? QBrush(QColor::fromRgba(kFillMarker)) : QBrush(Qt::NoBrush));
        if (kind == Kind::Line)
            painter.drawLine(moved.point(0), moved.point(1));
        else
            painter.drawPolygon(moved);
    }
    QtShapeRaster::Shape shape;
    for (int y = 0; y < scratch.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        ReadRow(row, scratch.width(), y, kFillMarker, shape.fill);
        ReadRow(row, scratch.width(), y, kStrokeMarker, shape.stroke);
    }
    bool first = true;
    for (auto* runs : {&shape.fill, &shape.stroke})
        for (PixelRun& run : *runs) {
            run.y -= pad;
            run.x1 -= pad;
            run.x2 -= pad;
            shape.left = first ? run.x1 : std::min(shape.left, run.x1);
            shape.right = first ? run.x2 : std::max(shape.right, run.x2);
            shape.top = first ? run.y : std::min(shape.top, run.y);
            shape.bottom = first ? run.y : std::max(shape.bottom, run.y);
            first = false;
        }
    return shape;
}

const QtShapeRaster::Shape* Lookup(Kind kind, std::span<const Point> points,
                                   const QtShapeRaster::Stroke& stroke, bool filled,
                                   QPainter::RenderHints hints, QPoint& origin) {
    if (points.empty() || points.size() > kMaxPoints) return nullptr;
    long long left = points[0].X, right = left, top = points[0].Y, bottom = top;
    for (const Point& p : points) {
        left = std::min<long long>(left, p.X);
        right = std::max<long long>(right, p.X);
        top = std::min<long long>(top, p.Y);
        bottom = std::max<long long>(bottom, p.Y);
    }
    if (left < -kMaxCoordinate || top < -kMaxCoordinate || right > kMaxCoordinate ||
        bottom > kMaxCoordinate || right - left >= kMaxExtent || bottom - top >= kMaxExtent ||
        stroke.width > 64 || stroke.width < 0)
        return nullptr;
    const Point corner{static_cast<int>(left), static_cast<int>(top)};
    thread_local std::vector<int> key;
    MakeKey(key, kind, stroke, filled, hints, points, corner);
    ShapeCache& cache = Cache();
    auto found = cache.find(key);
    if (found == cache.end()) {
        if (cache.size() >= kMaxShapes) cache.clear();
        found = cache
                    .emplace(key, Rasterize(kind, points, stroke, filled, hints, corner,
                                            static_cast<int>(right - left + 1),
                                            static_cast<int>(bottom - top + 1)))
                    .first;
    }
    origin = QPoint(corner.X, corner.Y);
    return &found->second;
}

}  // namespace

const QtShapeRaster::Shape* QtShapeRaster::Polygon(std::span<const Point> points,
                                                   const Stroke& stroke, bool filled,
                                                   QPainter::RenderHints hints, QPoint& origin) {
    return Lookup(Kind::Polygon, points, stroke, filled, hints, origin);
}

const QtShapeRaster::Shape* QtShapeRaster::Line(Point from, Point to, const Stroke& stroke,
                                                QPainter::RenderHints hints, QPoint& origin) {
    if (stroke.width <= 0) return nullptr;
    const Point ends[] = {from, to};
    return Lookup(Kind::Line, ends, stroke, false, hints, origin);
}

}  // namespace platform
