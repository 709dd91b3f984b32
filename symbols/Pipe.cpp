#include "symbols/Pipe.h"

#include "symbols/PipeShading.h"

namespace symbols {

TPipe::TPipe(QWidget* parent) : TGraphicControl(parent) {
    resize(50, 10);
}

void TPipe::setDiameter(int diameter) {
    if (diameter != diameter_) cache_.Invalidate();
    diameter_ = diameter;
    Invalidate();
}

void TPipe::setOpientation(TPipeOrientation orientation) {
    if (orientation != orientation_) cache_.Invalidate();
    orientation_ = orientation;
    Invalidate();
}

void TPipe::setColor(TColor color) {
    if (color != color_) cache_.Invalidate();
    color_ = color;
    Invalidate();
}

void TPipe::setColored(bool colored) {
    if (colored != colored_) cache_.Invalidate();
    colored_ = colored;
    Invalidate();
}

void TPipe::fitToDiameter(int diameter) {
    if (orientation_ == TPipeOrientation::poVertical)
        SetWidth(diameter);
    else
        SetHeight(diameter);
}

void TPipe::paintEvent(QPaintEvent* event) {
    cache_.PaintWidget(*this, event, [this](platform::Canvas& canvas) { Paint(canvas); });
}

void TPipe::Paint(platform::Canvas& canvas) {
    const int diameter = UsableDiameter(diameter_);
    fitToDiameter(diameter);

    // The cross dimension is the diameter whether or not the resize has landed yet.
    const bool vertical = orientation_ == TPipeOrientation::poVertical;
    const int w = vertical ? diameter : width();
    const int h = vertical ? height() : diameter;

    const TColor wall = colored_ ? color_ : clBlack;
    ShadePipe(canvas, wall, diameter, [&](int k) { drawWallStrokes(canvas, k, w, h); });
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
