#include "symbols/Pen.h"

namespace symbols {

TPen::TPen(QObject* parent) : QObject(parent) {}

TPen::TPen(platform::TColor color, int width, platform::PenStyle style, QObject* parent)
    : QObject(parent), a_{color, width, style} {}

void TPen::setColor(platform::TColor color) {
    if (color == a_.Color) return;
    a_.Color = color;
    emit changed();
}

void TPen::setWidth(int width) {
    if (width == a_.Width) return;
    a_.Width = width;
    emit changed();
}

void TPen::setStyle(platform::PenStyle style) {
    if (style == a_.Style) return;
    a_.Style = style;
    emit changed();
}

void TPen::ApplyTo(platform::Canvas& canvas) const {
    canvas.SetPenColor(a_.Color);
    canvas.SetPenWidth(a_.Width);
    canvas.SetPenStyle(a_.Style);
}

}  // namespace symbols
