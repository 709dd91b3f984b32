#pragma once

#include <functional>

#include "platform/canvas/Canvas.h"

namespace symbols {

// The wall-to-centre shading shared by the straight pipe and the elbow.
// Walls start in `wallColor` and every step moves both strokes one pixel
// towards the centre line, brightening towards white: Diameter div 2 + 1 steps,
// pen width 2. `strokes(k)` draws the two strokes of step k.
void ShadePipe(platform::Canvas& canvas, platform::TColor wallColor, int diameter,
               const std::function<void(int k)>& strokes);

// Diameter clamped to what a control can be: never negative, never larger than
// the biggest widget, so a wild value cannot stall painting.
int UsableDiameter(int diameter);

}  // namespace symbols
