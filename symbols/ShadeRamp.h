#pragma once

#include "platform/canvas/Canvas.h"

namespace symbols {

// The shade ramp of the silo and the pipes: three real accumulators start at
// the channels of a base colour and each climbs towards 255 by
// (255 - start) / span per line, so after `span` lines a channel would reach
// white. Each line's colour rounds the accumulators on their own.
class ShadeRamp {
public:
    // `base` is read by its low three bytes (a system colour is not resolved).
    // A span of zero (or less) keeps the base colour on every line.
    ShadeRamp(platform::TColor base, long double span);

    // The colour of the current line, 0x00BBGGRR.
    platform::TColor Color() const;
    void Advance();

private:
    long double red_, green_, blue_;
    long double redStep_ = 0, greenStep_ = 0, blueStep_ = 0;
};

}  // namespace symbols
