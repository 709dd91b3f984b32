#pragma once

#include <vector>

namespace platform {

// Pixel rows of ellipses in the drawing model, pure integer output so the
// QPainter canvas can fill them as runs and tests can inspect them.
//
// The ellipse of a box X1..X2-1, Y1..Y2-1 covers the pixels whose centres lie
// inside the ellipse inscribed in that box; its one-pixel outline is the
// pixels of that area with a neighbour (left, right, above, below) outside it.
// A pen w pixels wide is centred on that outline: it covers the area of the
// box grown by w / 2 minus the inside of the box shrunk by (w - 1) / 2.
struct PixelRun {
    int y = 0;
    int x1 = 0;  // first pixel
    int x2 = 0;  // last pixel, inclusive
    friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

class EllipseRaster {
public:
    // Area and outline of an ellipse with its box at the origin, as drawn by
    // Ellipse(): a pen width of 0 means no pen, and then the area ends one
    // pixel short on the right and bottom.
    struct Shape {
        std::vector<PixelRun> area;
        std::vector<PixelRun> outline;
    };
    // The shape for a box of width x height, from a small per-thread cache:
    // symbols repaint the same few sizes over and over.
    static const Shape& Cached(int width, int height, int penWidth);

    // The whole area of the ellipse, one run per row (rows may be absent
    // for degenerate boxes).
    static std::vector<PixelRun> Area(int x1, int y1, int x2, int y2);

    // The outline of a pen `width` pixels wide, at most two runs per row.
    static std::vector<PixelRun> Outline(int x1, int y1, int x2, int y2, int width);

    // The part of the outline from the ray through (sx, sy) counter-clockwise
    // (as seen on the screen) to the ray through (ex, ey), rays from the
    // box's centre. Equal rays give the whole outline.
    static std::vector<PixelRun> Arc(int x1, int y1, int x2, int y2, int width, int sx, int sy,
                                     int ex, int ey);
};

}  // namespace platform
