#include "symbols/Silo.h"

#include <algorithm>

#include "symbols/ShadeRamp.h"

namespace symbols {

namespace {

// Share of the width lit from the left edge up to the brightest line, and the
// share that shades back down to the right edge.
constexpr long double kLeftShare = 0.2L;
constexpr long double kRightShare = 0.8L;

// Keeps a roof line computed from an outsized Cover within what the canvas
// can take; anything this far lies off the control anyway.
constexpr long double kFarOff = 1 << 26;

}  // namespace

TSilo::TSilo(QWidget* parent) : TCachedSymbol(parent) {
    resize(100, 100);
}

void TSilo::setCover(int cover) {
    SetLook(cover_, cover);
}

void TSilo::setColor(TColor color) {
    SetLook(color_, color);
}

int TSilo::RoofLine() const {
    // Height x Cover is taken as a whole number, the division by 100 is not.
    const long double y = static_cast<long double>(height()) * cover_ / 100;
    return Round(std::clamp(y, -kFarOff, kFarOff));
}

void TSilo::Draw(platform::Canvas& canvas) {
    const int roofLine = RoofLine();

    // Wide solid strokes for the shading.
    canvas.SetPenWidth(2);
    canvas.SetPenStyle(platform::PenStyle::Solid);

    drawLeftShading(canvas, roofLine);
    drawRightShading(canvas, roofLine);
    drawBodyOutline(canvas, roofLine);
}

void TSilo::drawLeftShading(platform::Canvas& canvas, int roofLine) const {
    // From the dark left edge towards the brightest line near a fifth of the width.
    const long double span = kLeftShare * width();
    const int lines = Round(span);
    ShadeRamp ramp(color_, span);
    for (int k = 0; k < lines; ++k, ramp.Advance()) {
        canvas.SetPenColor(ramp.Color());
        drawShadeLine(canvas, k, roofLine);
    }
}

void TSilo::drawRightShading(platform::Canvas& canvas, int roofLine) const {
    // From the dark right edge leftwards, meeting the left pass near its brightest line.
    const long double span = kRightShare * width();
    const int lines = Round(span);
    ShadeRamp ramp(color_, span);
    for (int k = 0; k < lines; ++k, ramp.Advance()) {
        canvas.SetPenColor(ramp.Color());
        drawShadeLine(canvas, width() - k, roofLine);
    }
}

void TSilo::drawShadeLine(platform::Canvas& canvas, int x, int roofLine) const {
    canvas.MoveTo(x, roofLine);
    canvas.LineTo(x, height());
    canvas.MoveTo(width() / 2, 0);
    canvas.LineTo(x, roofLine);
}

void TSilo::drawBodyOutline(platform::Canvas& canvas, int roofLine) const {
    // Thin black frame round the body; the roof stays unframed.
    canvas.SetPenColor(clBlack);
    canvas.SetPenWidth(1);
    canvas.SetBrushStyle(platform::BrushStyle::Clear);
    canvas.Rectangle(0, roofLine, width(), height());
}

}  // namespace symbols
