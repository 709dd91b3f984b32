#include "symbols/Pipe.h"

#include "symbols/PipeShading.h"

namespace symbols {

TPipe::TPipe(QWidget* parent) : TCachedSymbol(parent) {
    resize(50, 10);
}

void TPipe::setDiameter(int diameter) {
    SetLook(diameter_, diameter);
}

void TPipe::setOpientation(TPipeOrientation orientation) {
    SetLook(orientation_, orientation);
}

void TPipe::setColor(TColor color) {
    SetLook(color_, color);
}

void TPipe::setColored(bool colored) {
    SetLook(colored_, colored);
}

QSize TPipe::SizeFor(QSize size) const {
    const int diameter = UsableDiameter(diameter_);
    if (orientation_ == TPipeOrientation::poVertical) return {diameter, size.height()};
    return {size.width(), diameter};
}

void TPipe::Draw(platform::Canvas& canvas) {
    const TColor wall = colored_ ? color_ : clBlack;
    ShadePipe(canvas, wall, UsableDiameter(diameter_),
              [&](int k) { drawWallStrokes(canvas, k, width(), height()); });
}

void TPipe::drawWallStrokes(platform::Canvas& canvas, int k, int w, int h) const {
    if (orientation_ == TPipeOrientation::poVertical) {
        canvas.MoveTo(k, 0);
        canvas.LineTo(k, h);
        canvas.MoveTo(w - k, 0);
        canvas.LineTo(w - k, h);
    } else {
        canvas.MoveTo(0, k);
        canvas.LineTo(w, k);
        canvas.MoveTo(0, h - k);
        canvas.LineTo(w, h - k);
    }
}

}  // namespace symbols
