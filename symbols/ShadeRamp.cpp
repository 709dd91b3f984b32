#include "symbols/ShadeRamp.h"

#include <algorithm>
#include <cmath>

#include "symbols/SCADAType.h"

namespace symbols {

namespace {

long double Channel(platform::TColor color, int shift) {
    return static_cast<long double>((color >> shift) & 0xFF);
}

// The accumulators stay inside 0..255 for every line the symbols draw; the
// clamp only keeps a channel from spilling into its neighbour.
platform::TColor Byte(long double channel) {
    return static_cast<platform::TColor>(std::clamp(Round(channel), 0, 255));
}

}  // namespace

ShadeRamp::ShadeRamp(platform::TColor base, long double span)
    : red_(Channel(base, 0)), green_(Channel(base, 8)), blue_(Channel(base, 16)) {
    // A zero span (silo of width 0, pipe of diameter 0) would make the step
    // infinite; such a ramp draws at most its first line, in the base colour.
    if (!(span > 0) || !std::isfinite(span)) return;
    redStep_ = (255 - red_) / span;
    greenStep_ = (255 - green_) / span;
    blueStep_ = (255 - blue_) / span;
}

platform::TColor ShadeRamp::Color() const {
    return Byte(blue_) << 16 | Byte(green_) << 8 | Byte(red_);
}

void ShadeRamp::Advance() {
    red_ += redStep_;
    green_ += greenStep_;
    blue_ += blueStep_;
}

}  // namespace symbols
