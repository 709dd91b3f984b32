#include "symbols/Pump.h"

#include <algorithm>

namespace symbols {

using platform::BrushStyle;
using platform::PenStyle;
using platform::Point;
using platform::Rect;

// A pipe from the hub out to one side: its tube, and the flange across the
// tube's outer end.
struct TPump::Pipe {
    Rect tube, flange;
};

// The figure at one width, each coordinate Scale(factor, width) on its own.
struct TPump::Geometry {
    Geometry(int width, TPumpOrientation outletSide);

    Pipe outlet, inlet;
    Rect casing;
    Rect rim;  // box of the rim's two arcs
    Point highlightStart, highlightEnd, shadowStart, shadowEnd;
    Rect hub;
};

TPump::Geometry::Geometry(int width, TPumpOrientation outletSide) {
    const auto k = [width](long double factor) { return Scale(factor, width); };

    // Where a pipe ends on either side: its tube's outer end and its flange.
    // The two sides' factors are mirror images to three decimals only (0.0833
    // and 0.9166), so each side has its own rather than one mirrored from the
    // other.
    struct Side {
        int tubeEnd, flangeLeft, flangeRight;
    };
    const Side left = {k(0.0833L), k(0.0166L), k(0.1L)};
    const Side right = {k(0.9166L), k(0.9L), k(0.9833L)};
    const bool outletLeft = outletSide == TPumpOrientation::poLeft;
    const Side& outletEnd = outletLeft ? left : right;
    const Side& inletEnd = outletLeft ? right : left;

    // The tube runs from the middle to its side's end, the flange stands
    // across that end; both are given by their rows.
    const int middle = k(0.5L);
    const auto pipe = [&](const Side& side, long double top, long double bottom,
                          long double flangeTop, long double flangeBottom) {
        return Pipe{
            {std::min(middle, side.tubeEnd), k(top), std::max(middle, side.tubeEnd), k(bottom)},
            {side.flangeLeft, k(flangeTop), side.flangeRight, k(flangeBottom)}};
    };
    outlet = pipe(outletEnd, 0.4916L, 0.7L, 0.475L, 0.725L);
    inlet = pipe(inletEnd, 0.2666L, 0.475L, 0.2416L, 0.4916L);

    casing = {k(0.1666L), k(0.0333L), k(0.8333L), k(0.7L)};
    rim = {k(0.2083L), k(0.075L), k(0.7916L), k(0.6583L)};
    highlightStart = {k(0.5L), k(0.075L)};
    highlightEnd = {k(0.2083L), k(0.375L)};
    shadowStart = {k(0.5L), k(0.7L)};
    shadowEnd = {k(0.7916L), k(0.375L)};
    hub = {k(0.375L), k(0.2416L), k(0.625L), k(0.4916L)};
}

TPump::TPump(QWidget* parent)
    : TDriveSymbol(parent, FlashGroup::AlarmDriven, TFlashRate::frMedium, clLime) {
    resize(120, 90);
}

void TPump::setOpientation(TPumpOrientation o) {
    opientation_ = o;
    Invalidate();
}

void TPump::FlashTimerTick() {
    AlarmDrivenTick();
}

QSize TPump::SizeFor(QSize size) const {
    // Height follows the width.
    return {size.width(), Scale(0.75L, size.width())};
}

void TPump::DrawTube(platform::Canvas& canvas, int x1, int y1, int x2, int y2) {
    const int d = y2 - y1;
    const int n = d / 2;
    // A tube of zero height has no shading: its one line stays black.
    const long double step = (d == 0) ? 0.0L : 255.0L / (static_cast<long double>(d) / 2.0L);
    long double level = 0.0L;
    // Shade from both edges towards the middle; the level is accumulated, so
    // rounding follows the running sum, not i x step.
    for (int i = 0; i <= n; ++i) {
        const int grey = Round(level);
        canvas.SetPenColor(static_cast<TColor>(grey) * 0x010101u);
        canvas.MoveTo(x1, y1 + i);
        canvas.LineTo(x2, y1 + i);
        canvas.MoveTo(x1, y2 - i);
        canvas.LineTo(x2, y2 - i);
        level += step;
    }
    canvas.SetPenColor(clBlack);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x1, y2);
    canvas.MoveTo(x2, y1);
    canvas.LineTo(x2, y2);
}

void TPump::Draw(platform::Canvas& canvas) {
    const Geometry g(width(), opientation_);
    drawFrame(canvas);
    drawPipe(canvas, g.outlet);  // first: the casing hides its inner end
    drawCasing(canvas, g);
    drawPipe(canvas, g.inlet);  // over the casing, from the hub outwards
    drawHub(canvas, g);         // last, over the inlet's inner end
}

void TPump::drawFrame(platform::Canvas& canvas) const {
    // Mode frame around the whole control, background in the flash colour.
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(3);
    canvas.SetPenColor(CurrentModeColor());
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(FlashColor());
    canvas.Rectangle(0, 0, width(), height());
}

void TPump::drawPipe(platform::Canvas& canvas, const Pipe& pipe) {
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(1);
    const Rect& t = pipe.tube;
    const Rect& f = pipe.flange;
    DrawTube(canvas, t.Left, t.Top, t.Right, t.Bottom);
    DrawTube(canvas, f.Left, f.Top, f.Right, f.Bottom);
}

void TPump::drawCasing(platform::Canvas& canvas, const Geometry& g) {
    // Grey casing in a thin black outline.
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(1);
    canvas.SetPenColor(clBlack);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(palette::PumpCasing);
    canvas.Ellipse(g.casing.Left, g.casing.Top, g.casing.Right, g.casing.Bottom);

    // Rim: light upper-left quarter, dark lower-right quarter.
    const Rect& r = g.rim;
    canvas.SetPenWidth(3);
    canvas.SetPenColor(clWhite);
    canvas.Arc(r.Left, r.Top, r.Right, r.Bottom, g.highlightStart.X, g.highlightStart.Y,
               g.highlightEnd.X, g.highlightEnd.Y);
    canvas.SetPenColor(clBlack);
    canvas.Arc(r.Left, r.Top, r.Right, r.Bottom, g.shadowStart.X, g.shadowStart.Y, g.shadowEnd.X,
               g.shadowEnd.Y);
}

void TPump::drawHub(platform::Canvas& canvas, const Geometry& g) const {
    // Hub in the state colour.
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(1);
    canvas.SetPenColor(clBlack);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(CurrentStateColor());
    canvas.Ellipse(g.hub.Left, g.hub.Top, g.hub.Right, g.hub.Bottom);
}

}  // namespace symbols
