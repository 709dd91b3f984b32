#include "symbols/Latch.h"

#include <array>
#include <cmath>
#include <numbers>

namespace symbols {

namespace {

using platform::Point;

struct Vec {
    long double x, y;
};

constexpr long double kDegree = std::numbers::pi_v<long double> / 180.0L;

// The point at angle phi on the circle inscribed in the square of side 2h:
// 0 degrees is the middle of the left side, 90 the middle of the top side.
Vec OnCircle(long double h, long double phi) {
    return {h - h * std::cos(phi * kDegree), h - h * std::sin(phi * kDegree)};
}

// Each coordinate is rounded only after the sum is formed.
Point Rounded(Vec p, Vec shift, long double factor) {
    return {Round(p.x + factor * shift.x), Round(p.y + factor * shift.y)};
}

// A plate: the chord from the circle point at theta + first to the one at
// theta + second, thickened by d towards side x u (side is +1 or -1).
std::array<Point, 4> Plate(long double h, long double d, int theta, int first, int second, Vec u,
                           long double side) {
    const Vec a = OnCircle(h, theta + first);
    const Vec b = OnCircle(h, theta + second);
    return {Rounded(a, u, 0.0L), Rounded(a, u, side * d), Rounded(b, u, side * d),
            Rounded(b, u, 0.0L)};
}

}  // namespace

TLatch::TLatch(QWidget* parent)
    : TDeviceSymbol(parent, FlashGroup::AlarmDriven, TFlashRate::frMedium) {
    resize(20, 20);
}

void TLatch::setUngle(int degrees) {
    ungle_ = degrees;
    Invalidate();
}

void TLatch::setCloseUngle(int degrees) {
    closeUngle_ = degrees;
    Invalidate();
}

void TLatch::setColor(TColor c) {
    color_ = c;
    Invalidate();
}

void TLatch::FlashTimerTick() {
    AlarmDrivenTick();
}

QSize TLatch::SizeFor(QSize size) const {
    // Always square.
    return {size.width(), size.width()};
}

void TLatch::Draw(platform::Canvas& canvas) {
    const int w = width();

    // Mode frame, background in the flash colour.
    canvas.SetPenStyle(platform::PenStyle::Solid);
    canvas.SetPenWidth(3);
    canvas.SetPenColor(CurrentModeColor());
    canvas.SetBrushStyle(platform::BrushStyle::Solid);
    canvas.SetBrushColor(FlashColor());
    canvas.Rectangle(0, 0, w, w);

    // Two plates facing each other across the centre, turned by the angle.
    canvas.SetPenWidth(1);
    canvas.SetPenColor(color_);
    canvas.SetBrushColor(color_);
    // Integer sum: a huge angle wraps instead of overflowing.
    const int theta = static_cast<int>((static_cast<long long>(ungle_) + closeUngle_) % 360);
    const long double h = w / 2.0L;
    const long double d = w * 0.1L;
    const Vec u = {std::cos(theta * kDegree), std::sin(theta * kDegree)};
    const auto plateA = Plate(h, d, theta, 45, 315, u, +1.0L);
    const auto plateB = Plate(h, d, theta, 135, 225, u, -1.0L);
    canvas.Polygon(plateA);
    canvas.Polygon(plateB);
}

}  // namespace symbols
