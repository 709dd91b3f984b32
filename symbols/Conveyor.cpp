#include "symbols/Conveyor.h"

#include <algorithm>
#include <array>

#include "symbols/ConveyorGeometry.h"

namespace symbols {

using platform::BrushStyle;
using platform::PenStyle;
using platform::Point;

TConveyor::TConveyor(QWidget* parent)
    : TDriveSymbol(parent, FlashGroup::FreeRunning, TFlashRate::frMedium, palette::DriveRun) {
    resize(120, 90);
}

void TConveyor::setOpientation(TConveyorOrientation o) {
    opientation_ = o;
    Invalidate();
}

void TConveyor::FlashTimerTick() {
    FreeRunningTick(TickRedraw::Later);
}

int TConveyor::MaxHeight(int width) {
    return std::max(0, Trunc((width - 10) * 0.5333L));
}

QSize TConveyor::SizeFor(QSize size) const {
    // A taller conveyor is cut down; a lower one keeps its height.
    return {size.width(), std::min(size.height(), MaxHeight(size.width()))};
}

void TConveyor::Draw(platform::Canvas& canvas) {
    const int w = width();
    const int h = height();
    const ConveyorGeometry g = ConveyorGeometry::For(w, h);
    const int d = g.rollerDiameter;

    // Mode frame, no fill: the diagram shows through.
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenWidth(3);
    canvas.SetPenColor(CurrentModeColor());
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.Rectangle(0, 0, w, h);

    // Rollers in the state colour, or the flash colour while in alarm.
    canvas.SetPenColor(clBlack);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(Alarm() ? FlashColor() : CurrentStateColor());
    for (const int x : g.rollerLefts) canvas.Ellipse(x, h - 5 - d, x + d, h - 5);

    // Belt: upper and lower run between the centres of the end rollers.
    canvas.SetPenWidth(2);
    canvas.MoveTo(d / 2 + 5, h - 5 - d);
    canvas.LineTo(w - d / 2 - 5, h - 5 - d);
    canvas.MoveTo(d / 2 + 5, h - 5);
    canvas.LineTo(w - d / 2 - 5, h - 5);

    // Direction arrows above the belt.
    for (const int x : g.arrowLefts) DrawArrow(canvas, x, g);
}

void TConveyor::DrawArrow(platform::Canvas& canvas, int x, const ConveyorGeometry& g) {
    SetArrowStyle(canvas);
    const int top = g.arrowHeadTop;
    const int shaftTop = g.arrowShaftTop;
    const int point = g.arrowPoint;
    const int shaftBottom = g.arrowShaftBottom;
    const int bottom = g.arrowHeadBottom;
    // A 20-pixel shaft and a 10-pixel head pointing in the travel direction.
    std::array<Point, 7> arrow;
    if (opientation_ == TConveyorOrientation::coRight) {
        arrow = {{{x, shaftTop},
                  {x + 20, shaftTop},
                  {x + 20, top},
                  {x + 30, point},
                  {x + 20, bottom},
                  {x + 20, shaftBottom},
                  {x, shaftBottom}}};
    } else {
        arrow = {{{x + 30, shaftTop},
                  {x + 10, shaftTop},
                  {x + 10, top},
                  {x, point},
                  {x + 10, bottom},
                  {x + 10, shaftBottom},
                  {x + 30, shaftBottom}}};
    }
    canvas.Polygon(arrow);
}

}  // namespace symbols
