#include "symbols/Pump.h"

namespace symbols {

using platform::PenStyle;

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

void TPump::Paint(platform::Canvas& canvas) {
    // Height follows the width.
    SetHeight(Scale(0.75L, width()));
    const int w = width();
    const auto k = [w](long double factor) { return Scale(factor, w); };
    const bool outletLeft = opientation_ == TPumpOrientation::poLeft;

    // Mode frame around the whole control, background in the flash colour.
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(3);
    canvas.SetPenColor(CurrentModeColor());
    canvas.SetBrushStyle(platform::BrushStyle::Solid);
    canvas.SetBrushColor(FlashColor());
    canvas.Rectangle(0, 0, width(), height());

    // Outlet pipe and flange, before the casing so the casing hides the inner end.
    canvas.SetPenWidth(1);
    if (outletLeft) {
        DrawTube(canvas, k(0.0833L), k(0.4916L), k(0.5L), k(0.7L));
        DrawTube(canvas, k(0.0166L), k(0.475L), k(0.1L), k(0.725L));
    } else {
        DrawTube(canvas, k(0.5L), k(0.4916L), k(0.9166L), k(0.7L));
        DrawTube(canvas, k(0.9L), k(0.475L), k(0.9833L), k(0.725L));
    }

    // Casing.
    canvas.SetBrushColor(palette::PumpCasing);
    canvas.Ellipse(k(0.1666L), k(0.0333L), k(0.8333L), k(0.7L));

    // Rim: light upper-left quarter, dark lower-right quarter.
    canvas.SetPenWidth(3);
    canvas.SetPenColor(clWhite);
    canvas.Arc(k(0.2083L), k(0.075L), k(0.7916L), k(0.6583L), k(0.5L), k(0.075L), k(0.2083L),
               k(0.375L));
    canvas.SetPenColor(clBlack);
    canvas.Arc(k(0.2083L), k(0.075L), k(0.7916L), k(0.6583L), k(0.5L), k(0.7L), k(0.7916L),
               k(0.375L));

    // Inlet pipe and flange, over the casing from the hub outwards.
    canvas.SetPenWidth(1);
    if (outletLeft) {
        DrawTube(canvas, k(0.5L), k(0.2666L), k(0.9166L), k(0.475L));
        DrawTube(canvas, k(0.9L), k(0.2416L), k(0.9833L), k(0.4916L));
    } else {
        DrawTube(canvas, k(0.0833L), k(0.2666L), k(0.5L), k(0.475L));
        DrawTube(canvas, k(0.0166L), k(0.2416L), k(0.1L), k(0.4916L));
    }

    // Hub in the state colour, last, over the inner end of the inlet pipe.
    canvas.SetBrushColor(CurrentStateColor());
    canvas.SetPenColor(clBlack);
    canvas.SetPenWidth(1);
    canvas.Ellipse(k(0.375L), k(0.2416L), k(0.625L), k(0.4916L));
}

}  // namespace symbols
