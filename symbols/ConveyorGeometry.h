#pragma once

#include <vector>

namespace symbols {

// Where a conveyor of W x H puts its rollers and arrows; pure arithmetic,
// apart from painting.
struct ConveyorGeometry {
    int rollerDiameter = 0;        // d = Round(H / 3)
    std::vector<int> rollerLefts;  // X of each roller, evenly from 5 to W - 5 - d
    std::vector<int> arrowLefts;   // x of each 30-pixel arrow
    // Arrow rows, each Round(k x H).
    int arrowHeadTop = 0;      // 0.1 H, tip of the head's back edge
    int arrowShaftTop = 0;     // 0.2 H
    int arrowPoint = 0;        // 0.25 H, the point
    int arrowShaftBottom = 0;  // 0.3 H
    int arrowHeadBottom = 0;   // 0.4 H

    static ConveyorGeometry For(int width, int height);
};

}  // namespace symbols
