#include "platform/canvas/EllipseRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace platform {

namespace {

struct Box {
    int x1, y1, x2, y2;
    Box Grown(int by) const { return {x1 - by, y1 - by, x2 + by, y2 + by}; }
    bool Empty() const { return x2 <= x1 || y2 <= y1; }
};

Box Normalised(int x1, int y1, int x2, int y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

// The run of the ellipse area in row y, if any.
std::optional<PixelRun> RowOf(const Box& b, int y) {
    if (b.Empty() || y < b.y1 || y >= b.y2) return std::nullopt;
    const double cx = (b.x1 + b.x2) / 2.0;
    const double cy = (b.y1 + b.y2) / 2.0;
    const double a = (b.x2 - b.x1) / 2.0;
    const double r = (b.y2 - b.y1) / 2.0;
    const double t = (y + 0.5 - cy) / r;
    if (t * t > 1.0) return std::nullopt;
    const double half = a * std::sqrt(1.0 - t * t);
    const int left = static_cast<int>(std::ceil(cx - half - 0.5));
    const int right = static_cast<int>(std::floor(cx + half - 0.5));
    if (right < left) return std::nullopt;
    return PixelRun{y, left, right};
}

// The rows of an ellipse area, computed once, with the run of pixels whose
// four neighbours (left, right, above, below) all lie inside.
class Rows {
public:
    explicit Rows(const Box& b) : top_(b.y1) {
        for (int y = b.y1; y < b.y2; ++y) rows_.push_back(RowOf(b, y));
    }

    std::optional<PixelRun> At(int y) const {
        if (y < top_ || y >= top_ + static_cast<int>(rows_.size())) return std::nullopt;
        return rows_[static_cast<size_t>(y - top_)];
    }

    std::optional<PixelRun> InsideAt(int y) const {
        const auto row = At(y);
        const auto above = At(y - 1);
        const auto below = At(y + 1);
        if (!row || !above || !below) return std::nullopt;
        const int left = std::max({row->x1 + 1, above->x1, below->x1});
        const int right = std::min({row->x2 - 1, above->x2, below->x2});
        if (right < left) return std::nullopt;
        return PixelRun{y, left, right};
    }

private:
    int top_;
    std::vector<std::optional<PixelRun>> rows_;
};

// Wedge test by cross products: is direction d within the counter-clockwise
// sweep from s to e? Directions are in screen terms with y pointing up.
struct Wedge {
    double sx, sy, ex, ey;
    bool wide;  // sweep of more than 180 degrees

    bool Contains(double dx, double dy) const {
        const double fromStart = sx * dy - sy * dx;  // > 0: d is counter-clockwise of s
        const double toEnd = dx * ey - dy * ex;      // > 0: e is counter-clockwise of d
        if (wide) return !(fromStart < 0.0 && toEnd < 0.0);
        return fromStart >= 0.0 && toEnd >= 0.0;
    }
};

}  // namespace

const EllipseRaster::Shape& EllipseRaster::Cached(int width, int height, int penWidth) {
    struct Entry {
        int width = -1, height = -1, penWidth = -1;
        Shape shape;
    };
    constexpr size_t kEntries = 16;
    thread_local std::vector<Entry> cache(kEntries);
    thread_local size_t next = 0;
    for (const Entry& e : cache)
        if (e.width == width && e.height == height && e.penWidth == penWidth) return e.shape;

    Entry& e = cache[next];
    next = (next + 1) % kEntries;
    e.width = width;
    e.height = height;
    e.penWidth = penWidth;
    if (penWidth <= 0) {
        e.shape.area = Area(0, 0, width - 1, height - 1);
        e.shape.outline.clear();
    } else {
        const int shrink = (penWidth - 1) / 2;
        e.shape.area = Area(shrink, shrink, width - shrink, height - shrink);
        e.shape.outline = Outline(0, 0, width, height, penWidth);
    }
    return e.shape;
}

std::vector<PixelRun> EllipseRaster::Area(int x1, int y1, int x2, int y2) {
    const Box b = Normalised(x1, y1, x2, y2);
    std::vector<PixelRun> runs;
    for (int y = b.y1; y < b.y2; ++y)
        if (const auto row = RowOf(b, y)) runs.push_back(*row);
    return runs;
}

std::vector<PixelRun> EllipseRaster::Outline(int x1, int y1, int x2, int y2, int width) {
    const int w = std::max(width, 1);
    const Box box = Normalised(x1, y1, x2, y2);
    const Box outer = box.Grown(w / 2);
    const Box inner = box.Grown(-((w - 1) / 2));
    const Rows holes(inner);
    std::vector<PixelRun> runs;
    runs.reserve(static_cast<size_t>(std::max(outer.y2 - outer.y1, 0)) * 2);
    for (int y = outer.y1; y < outer.y2; ++y) {
        const auto row = RowOf(outer, y);
        if (!row) continue;
        const auto hole = holes.InsideAt(y);
        if (!hole || hole->x2 < row->x1 || hole->x1 > row->x2) {
            runs.push_back(*row);
            continue;
        }
        if (hole->x1 > row->x1) runs.push_back({y, row->x1, hole->x1 - 1});
        if (hole->x2 < row->x2) runs.push_back({y, hole->x2 + 1, row->x2});
    }
    return runs;
}

std::vector<PixelRun> EllipseRaster::Arc(int x1, int y1, int x2, int y2, int width, int sx, int sy,
                                         int ex, int ey) {
    std::vector<PixelRun> ring = Outline(x1, y1, x2, y2, width);
    // Pixel centres sit at +0.5; the box centre is the middle of its extent.
    const double cx = (x1 + x2) / 2.0;
    const double cy = (y1 + y2) / 2.0;
    Wedge wedge{sx + 0.5 - cx, cy - sy - 0.5, ex + 0.5 - cx, cy - ey - 0.5, false};
    const double cross = wedge.sx * wedge.ey - wedge.sy * wedge.ex;
    const double dot = wedge.sx * wedge.ex + wedge.sy * wedge.ey;
    if (cross == 0.0 && dot >= 0.0) return ring;  // same ray: the whole ellipse
    wedge.wide = cross < 0.0 || (cross == 0.0 && dot < 0.0);

    std::vector<PixelRun> runs;
    for (const PixelRun& run : ring) {
        const double dy = cy - run.y - 0.5;
        int start = INT32_MIN;
        for (int x = run.x1; x <= run.x2; ++x) {
            const bool in = wedge.Contains(x + 0.5 - cx, dy);
            if (in && start == INT32_MIN) start = x;
            if (!in && start != INT32_MIN) {
                runs.push_back({run.y, start, x - 1});
                start = INT32_MIN;
            }
        }
        if (start != INT32_MIN) runs.push_back({run.y, start, run.x2});
    }
    return runs;
}

}  // namespace platform
