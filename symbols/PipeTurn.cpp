#include "symbols/PipeTurn.h"

#include <algorithm>

#include "symbols/PipeShading.h"

namespace symbols {

TPipeTurn::TPipeTurn(QWidget* parent) : TGraphicControl(parent) {
    resize(20, 20);
}

void TPipeTurn::setColor(TColor color) {
    if (color != color_) cache_.Invalidate();
    color_ = color;
    Invalidate();
}

void TPipeTurn::setColored(bool colored) {
    if (colored != colored_) cache_.Invalidate();
    colored_ = colored;
    Invalidate();
}

void TPipeTurn::setDiameter(int diameter) {
    if (diameter != diameter_) cache_.Invalidate();
    diameter_ = diameter;
    Invalidate();
}

void TPipeTurn::setRadiusTurn(int radius) {
    if (radius != radiusTurn_) cache_.Invalidate();
    radiusTurn_ = radius;
    Invalidate();
}

void TPipeTurn::setOrientation(TTurnOrientation orientation) {
    if (orientation != orientation_) cache_.Invalidate();
    orientation_ = orientation;
    Invalidate();
}

int TPipeTurn::Side() const {
    // Summed wide so outsized values cannot overflow; a negative radius is drawn as computed.
    const long long side = static_cast<long long>(UsableDiameter(diameter_)) + radiusTurn_;
    return static_cast<int>(std::clamp<long long>(side, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

TPipeTurn::Quarter TPipeTurn::QuarterOf(TTurnOrientation orientation, int side) {
    const int s = side;
    switch (orientation) {
        case TTurnOrientation::poLeftUp:
            return {{0, 0}, {0, s}, {s, 0}};
        case TTurnOrientation::poRightUp:
            return {{s, 0}, {0, 0}, {s, s}};
        case TTurnOrientation::poLeftDown:
            return {{0, s}, {s, s}, {0, 0}};
        case TTurnOrientation::poRightDown:
            return {{s, s}, {s, 0}, {0, s}};
    }
    return {{0, 0}, {0, s}, {s, 0}};
}

void TPipeTurn::paintEvent(QPaintEvent* event) {
    cache_.PaintWidget(*this, event, [this](platform::Canvas& canvas) { Paint(canvas); });
}

void TPipeTurn::Paint(platform::Canvas& canvas) {
    // Square of side Diameter + RadiusTurn, height first.
    const int side = Side();
    SetHeight(std::max(side, 0));
    SetWidth(std::max(side, 0));

    const int diameter = UsableDiameter(diameter_);
    const Quarter quarter = QuarterOf(orientation_, side);
    const TColor wall = colored_ ? color_ : clBlack;
    // Outer wall from radius `side` inwards, inner wall from RadiusTurn outwards.
    ShadePipe(canvas, wall, diameter, [&](int k) {
        drawArc(canvas, quarter, side - k);
        drawArc(canvas, quarter, side - diameter + k);
    });
}

void TPipeTurn::drawArc(platform::Canvas& canvas, const Quarter& q, int radius) {
    const platform::Point& p = q.centre;
    canvas.Arc(p.X - radius, p.Y - radius, p.X + radius, p.Y + radius, q.start.X, q.start.Y,
               q.end.X, q.end.Y);
}

}  // namespace symbols
