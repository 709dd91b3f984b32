#include "symbols/Brush.h"

namespace symbols {

TBrush::TBrush(QObject* parent) : QObject(parent) {}

TBrush::TBrush(platform::TColor color, platform::BrushStyle style, QObject* parent)
    : QObject(parent), a_{color, style} {}

void TBrush::setColor(platform::TColor color) {
    if (color == a_.Color) return;
    a_.Color = color;
    emit changed();
}

void TBrush::setStyle(platform::BrushStyle style) {
    if (style == a_.Style) return;
    a_.Style = style;
    emit changed();
}

void TBrush::ApplyTo(platform::Canvas& canvas) const {
    canvas.SetBrushColor(a_.Color);
    canvas.SetBrushStyle(a_.Style);
}

}  // namespace symbols
