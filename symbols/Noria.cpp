#include "symbols/Noria.h"

#include <array>
#include <vector>

namespace symbols {

using platform::BrushStyle;
using platform::PenStyle;
using platform::Point;

namespace {

// Head outlines: the body spans x 30..66, y 0..37; the hood slopes from the
// top edge down to a spout that reaches the control's edge.
std::vector<Point> HeadOutline(TNoria::TOrientation side) {
    switch (side) {
        case TNoria::TOrientation::noLeft:
            return {{1, 16},  {38, 0},  {58, 0},  {66, 8},  {66, 37},
                    {30, 37}, {30, 18}, {16, 18}, {16, 20}, {1, 20}};
        case TNoria::TOrientation::noRight:
            return {{95, 16}, {58, 0},  {38, 0},  {30, 8},  {30, 37},
                    {66, 37}, {66, 18}, {80, 18}, {80, 20}, {95, 20}};
        case TNoria::TOrientation::noBoth:
            break;
    }
    return {{1, 16},  {38, 0},  {58, 0},  {95, 16}, {95, 20}, {80, 20}, {80, 18},
            {66, 18}, {66, 37}, {30, 37}, {30, 18}, {16, 18}, {16, 20}, {1, 20}};
}

// Boot outlines: body x 30..66, y H-14..H-2, the top edge reaching out by 16
// pixels to the inlet side(s).
std::array<Point, 4> BootOutline(TNoria::TOrientation side, int h) {
    switch (side) {
        case TNoria::TOrientation::noLeft:
            return {{{14, h - 14}, {66, h - 14}, {66, h - 2}, {30, h - 2}}};
        case TNoria::TOrientation::noRight:
            return {{{30, h - 14}, {82, h - 14}, {66, h - 2}, {30, h - 2}}};
        case TNoria::TOrientation::noBoth:
            break;
    }
    return {{{14, h - 14}, {82, h - 14}, {66, h - 2}, {30, h - 2}}};
}

void Line(platform::Canvas& canvas, int x1, int y1, int x2, int y2) {
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

void Bucket(platform::Canvas& canvas, std::array<Point, 4> points) {
    canvas.Polyline(points);
}

}  // namespace

TNoria::TNoria(QWidget* parent)
    : TDriveSymbol(parent, FlashGroup::FreeRunning, TFlashRate::frFast, palette::DriveRun) {
    resize(120, 90);
}

void TNoria::setTopOpientation(TOrientation o) {
    top_ = o;
    Invalidate();
}

void TNoria::setBottomOpientation(TOrientation o) {
    bottom_ = o;
    Invalidate();
}

void TNoria::FlashTimerTick() {
    FreeRunningTick(TickRedraw::Now);
}

QSize TNoria::SizeFor(QSize size) const {
    return {kWidth, size.height()};
}

void TNoria::Draw(platform::Canvas& canvas) {
    const int h = height();
    DrawHeadAndBoot(canvas, h);
    DrawPulleys(canvas, h);
    DrawBelt(canvas, h);

    // Mode frame around the boot only.
    canvas.SetPenWidth(2);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenColor(CurrentModeColor());
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.Rectangle(29, h - 26, 67, h);

    DrawArrows(canvas, h);
}

void TNoria::DrawHeadAndBoot(platform::Canvas& canvas, int h) {
    canvas.SetPenWidth(1);
    canvas.SetPenColor(clBlack);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(palette::NoriaCasing);
    canvas.Polygon(HeadOutline(top_));
    canvas.Polygon(BootOutline(bottom_, h));
}

void TNoria::DrawPulleys(platform::Canvas& canvas, int h) {
    // Foot under the boot pulley, then the pulley rim.
    canvas.SetPenWidth(1);
    canvas.SetPenColor(clBlack);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetBrushColor(clBtnFace);
    const std::array<Point, 4> foot = {{{40, h - 2}, {56, h - 2}, {53, h - 6}, {43, h - 6}}};
    canvas.Polygon(foot);
    canvas.Ellipse(38, h - 24, 58, h - 4);
    canvas.Ellipse(40, h - 22, 56, h - 6);

    // Hubs of boot and head pulley in the state colour, or flashing in alarm.
    canvas.SetPenWidth(2);
    canvas.SetBrushColor(Alarm() ? FlashColor() : CurrentStateColor());
    canvas.Ellipse(44, h - 19, 53, h - 9);
    canvas.Ellipse(42, 18, 54, 30);
}

void TNoria::DrawBelt(platform::Canvas& canvas, int h) {
    // Solid runs near boot and head.
    canvas.SetPenWidth(1);
    canvas.SetPenColor(clBlack);
    canvas.SetPenStyle(PenStyle::Solid);
    Line(canvas, 43, h - 14, 43, h - 44);
    Line(canvas, 53, h - 14, 53, h - 44);
    Line(canvas, 43, 37, 43, 67);
    Line(canvas, 53, 37, 53, 67);

    // Dotted runs between head and boot.
    canvas.SetPenStyle(PenStyle::Dot);
    Line(canvas, 43, 67, 43, h - 44);
    Line(canvas, 53, 67, 53, h - 44);

    // Three buckets on each run near the head and near the boot; the left run
    // goes up with its buckets open upwards, the right run down.
    canvas.SetPenStyle(PenStyle::Solid);
    for (int k = 0; k < 3; ++k) {
        const int o = 10 * k;
        Bucket(canvas, {{{33, 41 + o}, {33, 43 + o}, {41, 43 + o}, {41, 41 + o}}});
        Bucket(canvas, {{{54, 43 + o}, {54, 41 + o}, {62, 41 + o}, {62, 43 + o}}});
        Bucket(canvas, {{{33, h - 19 - o}, {33, h - 17 - o}, {41, h - 17 - o}, {41, h - 19 - o}}});
        Bucket(canvas, {{{54, h - 17 - o}, {54, h - 19 - o}, {62, h - 19 - o}, {62, h - 17 - o}}});
    }
}

void TNoria::DrawArrows(platform::Canvas& canvas, int h) {
    SetArrowStyle(canvas);
    const std::array<Point, 7> nearBoot = {{{48, h - 46},
                                            {52, h - 40},
                                            {50, h - 40},
                                            {50, h - 30},
                                            {46, h - 30},
                                            {46, h - 40},
                                            {44, h - 40}}};
    const std::array<Point, 7> nearHead = {
        {{48, 42}, {52, 48}, {50, 48}, {50, 58}, {46, 58}, {46, 48}, {44, 48}}};
    canvas.Polygon(nearBoot);
    canvas.Polygon(nearHead);
}

}  // namespace symbols
