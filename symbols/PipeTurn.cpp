#include "symbols/PipeTurn.h"

#include <algorithm>

#include "symbols/PipeShading.h"

namespace symbols {

TPipeTurn::TPipeTurn(QWidget* parent) : TCachedSymbol(parent) {
    resize(20, 20);
}

void TPipeTurn::setColor(TColor color) {
    SetLook(color_, color);
}

void TPipeTurn::setColored(bool colored) {
    SetLook(colored_, colored);
}

void TPipeTurn::setDiameter(int diameter) {
    SetLook(diameter_, diameter);
}

void TPipeTurn::setRadiusTurn(int radius) {
    SetLook(radiusTurn_, radius);
}

void TPipeTurn::setOrientation(TTurnOrientation orientation) {
    SetLook(orientation_, orientation);
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

QSize TPipeTurn::SizeFor(QSize) const {
    // A square of side Diameter + RadiusTurn; a negative side collapses it.
    const int side = std::max(Side(), 0);
    return {side, side};
}

void TPipeTurn::Draw(platform::Canvas& canvas) {
    const int side = Side();
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
