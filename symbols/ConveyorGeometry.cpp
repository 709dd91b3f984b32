#include "symbols/ConveyorGeometry.h"

#include "symbols/SCADAType.h"

namespace symbols {

namespace {

constexpr int kArrowLength = 30;

}  // namespace

ConveyorGeometry ConveyorGeometry::For(int width, int height) {
    ConveyorGeometry g;
    const long double w = width;
    const long double h = height;
    g.rollerDiameter = Round(h / 3.0L);
    const int d = g.rollerDiameter;

    // Roller count; a flat conveyor (pitch 0) has no rollers rather than a
    // division by zero.
    const long double pitch = d + 0.6L * h;
    const int n = (pitch > 0.0L && width > 10) ? Trunc((w - 10.0L) / pitch) : 0;
    for (int i = 0; i < n; ++i) {
        // The first roller starts at x = 5, the last ends at W - 5; a single
        // roller has no spacing and stays at x = 5.
        const long double spacing = (n > 1) ? (w - d - 10.0L) / (n - 1) : 0.0L;
        g.rollerLefts.push_back(Round(spacing * i + 5.0L));
    }

    // m arrows dividing the rest of the length into m + 1 equal gaps.
    const int m = width > 0 ? width / 100 : 0;
    for (int i = 0; i < m; ++i) {
        const long double gap = (w - kArrowLength * m) / (m + 1);
        g.arrowLefts.push_back(Round(gap * (i + 1) + kArrowLength * i));
    }
    g.arrowHeadTop = Scale(0.1L, height);
    g.arrowShaftTop = Scale(0.2L, height);
    g.arrowPoint = Scale(0.25L, height);
    g.arrowShaftBottom = Scale(0.3L, height);
    g.arrowHeadBottom = Scale(0.4L, height);
    return g;
}

}  // namespace symbols
