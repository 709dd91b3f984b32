#pragma once

#include <vector>

namespace symbols {

// Where a conveyor of W x H puts its rollers and arrows; pure arithmetic,
// apart from painting.
struct ConveyorGeometry {
    int rollerDiameter = 0;        // d = Round(H / 3)
    std::vector<int> rollerLefts;  // X of each roller, evenly from 5 to W - 5 - d
    std::vector<int> arrowLefts;   // x of each 30-pixel arrow

    static ConveyorGeometry For(int width, int height);
};

}  // namespace symbols
