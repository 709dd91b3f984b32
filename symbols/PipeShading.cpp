#include "symbols/PipeShading.h"

#include <QWidget>
#include <algorithm>

#include "symbols/ShadeRamp.h"

namespace symbols {

void ShadePipe(platform::Canvas& canvas, platform::TColor wallColor, int diameter,
               const std::function<void(int k)>& strokes) {
    // After diameter / 2 steps each channel would reach white, so with an even
    // diameter the last step is white and its two strokes meet on the centre line.
    ShadeRamp ramp(wallColor, static_cast<long double>(diameter) / 2);
    canvas.SetPenWidth(2);
    for (int k = 0; k <= diameter / 2; ++k, ramp.Advance()) {
        canvas.SetPenColor(ramp.Color());
        strokes(k);
    }
}

int UsableDiameter(int diameter) {
    return std::clamp(diameter, 0, QWIDGETSIZE_MAX);
}

}  // namespace symbols
