#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QVector>
#include <memory>

#include "platform/canvas/Canvas.h"
#include "platform/canvas/EllipseRaster.h"
#include "platform/canvas/QtShapeRaster.h"

namespace platform {

// The drawing model over a QPainter: integer logical pixels, no antialiasing,
// GDI placement of shapes and lines. The painter's state is saved on
// construction and restored on destruction.
//
// Runs of pixels (outlines, fills, straight lines) are written straight into
// the image when the painter paints on a plain unscaled image. Otherwise, when
// the caller gives the logical size of the area, the canvas draws into a 1:1
// layer of that size and lays it onto the painter at destruction; on a scaling
// painter (device pixel ratio 2, say) each logical pixel becomes a crisp block
// of device pixels. Without a size it paints through the painter.
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
    void Sync();
    void ApplyPen();
    QtShapeRaster::Stroke PenStroke() const;
    void ApplyBrush();
    void StrokeSegment(Point from, Point to);
    void FillRuns(const std::vector<PixelRun>& runs, TColor color, QPoint at = QPoint());
    void FillRects(TColor color);  // fills rects_
    void WriteRects(TColor color);
    void WriteRuns(const std::vector<PixelRun>& runs, TColor color, QPoint at);
    uint32_t Argb(TColor color);
    void WriteShape(const QtShapeRaster::Shape& shape, QPoint origin, bool withFill);

    QPainter& outer_;
    QSize layerSize_;
    std::unique_ptr<QImage> layer_;
    std::unique_ptr<QPainter> layerPainter_;
    QPainter& painter_;  // the layer's painter, or the outer one
    TColor penColor_ = palette::Black;
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    TColor brushColor_ = palette::White;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    FontSpec font_;
    QFont qfont_;
    Point current_;
    bool styleDirty_ = true;
    QVector<QRect> rects_;  // scratch list of pixel runs
    // Set when runs can be written into the painter's image directly.
    QImage* direct_ = nullptr;
    uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    TColor argbColor_ = 0;
    uint32_t argb_ = 0;
    bool argbValid_ = false;
    QPoint offset_;
};

}  // namespace platform
