#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>

#include "platform/Canvas.h"

namespace platform {

// The drawing model over a QPainter: integer logical pixels, no antialiasing,
// GDI placement of shapes and lines. The painter's state is saved on
// construction and restored on destruction.
//
// On a painter that scales (device pixel ratio 2, say) the pixel rules of the
// drawing model cannot hold on the device grid, so when the caller gives the
// logical size of the area the canvas draws into a 1:1 layer of that size and
// lays it onto the painter at destruction, each logical pixel becoming a crisp
// block of device pixels. Without a size it paints through the scaling.
class QtCanvas : public Canvas {
public:
    explicit QtCanvas(QPainter& painter, QSize logicalSize = QSize());
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    void SetPenColor(TColor c) override;
    void SetPenWidth(int w) override;
    void SetPenStyle(PenStyle s) override;
    void SetBrushColor(TColor c) override;
    void SetBrushStyle(BrushStyle s) override;

    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Polygon(std::span<const Point> points) override;
    void Polyline(std::span<const Point> points) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void FillRect(const Rect& r) override;

    void SetFont(const FontSpec& font) override;
    void TextRect(const Rect& box, const std::string& utf8, TextAlign align) override;
    int TextHeight() const override;
    int TextWidth(const std::string& utf8) const override;

    void CopyRect(const Point& dest, const Image& image, const Rect& src) override;

private:
    void ApplyPen();
    void ApplyBrush();
    void StrokeSegment(Point from, Point to);

    QPainter& outer_;
    QSize layerSize_;
    std::unique_ptr<QImage> layer_;
    std::unique_ptr<QPainter> layerPainter_;
    QPainter& painter_;  // the layer's painter, or the outer one
    TColor penColor_ = 0x000000;
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    TColor brushColor_ = 0xFFFFFF;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    FontSpec font_;
    QFont qfont_;
    Point current_;
};

}  // namespace platform
