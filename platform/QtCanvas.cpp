#include "platform/QtCanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainterPath>
#include <QPolygon>
#include <QVector>
#include <cmath>
#include <numbers>

#include "platform/QtImage.h"
#include "platform/SystemColor.h"

namespace platform {

namespace {

// Cosmetic dotted pen: three pixels on, three off.
const QVector<qreal> kDotPattern = {3.0, 3.0};

// Box X1..X2-1 as Qt's outline rectangle: Qt strokes x .. x + width, so the
// width is one less than the GDI extent.
QRect OutlineBox(int x1, int y1, int x2, int y2) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    return QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

QPolygon ToPolygon(std::span<const Point> points) {
    QPolygon polygon(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        polygon.setPoint(static_cast<int>(i), points[i].X, points[i].Y);
    return polygon;
}

// Direction of the ray from `centre` through (x, y) in degrees,
// counter-clockwise from the x axis as seen on the screen (y grows down).
double RayDegrees(const QPointF& centre, double x, double y) {
    const double dx = x - centre.x();
    const double dy = centre.y() - y;
    if (dx == 0.0 && dy == 0.0) return 0.0;
    return std::atan2(dy, dx) * 180.0 / std::numbers::pi;
}

}  // namespace

namespace {

bool Scales(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    return t.m11() != 1.0 || t.m22() != 1.0 || t.m12() != 0.0 || t.m21() != 0.0;
}

QPainter& Target(QPainter& outer, QSize size, std::unique_ptr<QImage>& layer,
                 std::unique_ptr<QPainter>& layerPainter) {
    if (!size.isValid() || size.isEmpty() || !Scales(outer)) return outer;
    layer = std::make_unique<QImage>(size, QImage::Format_ARGB32_Premultiplied);
    layer->fill(Qt::transparent);
    layerPainter = std::make_unique<QPainter>(layer.get());
    return *layerPainter;
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, QSize logicalSize)
    : outer_(painter),
      layerSize_(logicalSize),
      painter_(Target(painter, logicalSize, layer_, layerPainter_)) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setBackgroundMode(Qt::TransparentMode);
    qfont_ = QFont(QString::fromStdString(font_.Family));
    qfont_.setPixelSize(font_.PixelHeight);
    ApplyPen();
    ApplyBrush();
}

QtCanvas::~QtCanvas() {
    painter_.restore();
    if (!layer_) return;
    layerPainter_->end();
    // Nearest-neighbour scaling keeps every logical pixel a sharp block.
    outer_.save();
    outer_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    outer_.drawImage(QRect(QPoint(0, 0), layerSize_), *layer_);
    outer_.restore();
}

void QtCanvas::SetPenColor(TColor c) {
    penColor_ = c;
    ApplyPen();
}

void QtCanvas::SetPenWidth(int w) {
    penWidth_ = w;
    ApplyPen();
}

void QtCanvas::SetPenStyle(PenStyle s) {
    penStyle_ = s;
    ApplyPen();
}

void QtCanvas::SetBrushColor(TColor c) {
    brushColor_ = c;
    ApplyBrush();
}

void QtCanvas::SetBrushStyle(BrushStyle s) {
    brushStyle_ = s;
    ApplyBrush();
}

void QtCanvas::ApplyPen() {
    if (penStyle_ == PenStyle::Clear) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    // Width 0 paints like width 1, as a GDI pen does.
    QPen pen(ResolveColor(penColor_), std::max(penWidth_, 1));
    // A one-pixel line leaves its end point unpainted (flat cap); wide lines
    // get round ends and joins like a geometric pen.
    const bool thin = penWidth_ <= 1;
    pen.setCapStyle(thin ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(thin ? Qt::MiterJoin : Qt::RoundJoin);
    if (penStyle_ == PenStyle::Dot) pen.setDashPattern(kDotPattern);
    painter_.setPen(pen);
}

void QtCanvas::ApplyBrush() {
    if (brushStyle_ == BrushStyle::Clear)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(ResolveColor(brushColor_));
}

void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    painter_.drawRect(OutlineBox(x1, y1, x2, y2));
}

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    painter_.drawEllipse(OutlineBox(x1, y1, x2, y2));
}

void QtCanvas::Polygon(std::span<const Point> points) {
    if (points.empty()) return;
    painter_.drawPolygon(ToPolygon(points));
}

void QtCanvas::Polyline(std::span<const Point> points) {
    if (points.empty()) return;
    painter_.drawPolyline(ToPolygon(points));
    current_ = points.back();
}

void QtCanvas::MoveTo(int x, int y) {
    current_ = {x, y};
}

void QtCanvas::LineTo(int x, int y) {
    StrokeSegment(current_, {x, y});
    current_ = {x, y};
}

void QtCanvas::StrokeSegment(Point from, Point to) {
    painter_.drawLine(from.X, from.Y, to.X, to.Y);
}

void QtCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    // The arc is the ellipse's own outline, cut to the wedge between the two
    // rays, so it lands on exactly the pixels that Ellipse() paints.
    const QPointF centre((x1 + x2) / 2.0, (y1 + y2) / 2.0);
    const double start = RayDegrees(centre, x3, y3);
    const double end = RayDegrees(centre, x4, y4);
    double span = end - start;
    // Counter-clockwise from start to end; equal rays give the whole ellipse.
    while (span <= 0.0) span += 360.0;
    painter_.save();
    painter_.setBrush(Qt::NoBrush);
    if (span < 360.0) {
        const double reach = std::abs(x2 - x1) + std::abs(y2 - y1) + 2.0 * penWidth_ + 4.0;
        QPainterPath wedge(centre);
        wedge.arcTo(QRectF(centre.x() - reach, centre.y() - reach, 2 * reach, 2 * reach), start,
                    span);
        wedge.closeSubpath();
        painter_.setClipPath(wedge, Qt::IntersectClip);
    }
    painter_.drawEllipse(OutlineBox(x1, y1, x2, y2));
    painter_.restore();
}

void QtCanvas::FillRect(const Rect& r) {
    if (brushStyle_ == BrushStyle::Clear) return;
    const QRect box = QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
    painter_.fillRect(box, ResolveColor(brushColor_));
}

void QtCanvas::SetFont(const FontSpec& font) {
    font_ = font;
    qfont_ = QFont(QString::fromStdString(font.Family));
    qfont_.setPixelSize(std::max(font.PixelHeight, 1));
    qfont_.setBold(font.Bold);
    qfont_.setStyleStrategy(QFont::NoAntialias);
}

void QtCanvas::TextRect(const Rect& box, const std::string& utf8, TextAlign align) {
    const QRect rect(QPoint(box.Left, box.Top), QPoint(box.Right - 1, box.Bottom - 1));
    if (rect.isEmpty()) return;
    painter_.save();
    painter_.setClipRect(rect, Qt::IntersectClip);
    // An opaque brush fills the box behind the text.
    if (brushStyle_ == BrushStyle::Solid) painter_.fillRect(rect, ResolveColor(brushColor_));
    painter_.setFont(qfont_);
    painter_.setPen(ResolveColor(font_.Color));
    int flags = Qt::AlignTop | Qt::TextSingleLine;
    switch (align) {
        case TextAlign::Left:
            flags |= Qt::AlignLeft;
            break;
        case TextAlign::Center:
            flags |= Qt::AlignHCenter;
            break;
        case TextAlign::Right:
            flags |= Qt::AlignRight;
            break;
    }
    painter_.drawText(rect, flags, QString::fromStdString(utf8));
    painter_.restore();
}

int QtCanvas::TextHeight() const {
    return QFontMetrics(qfont_).height();
}

int QtCanvas::TextWidth(const std::string& utf8) const {
    return QFontMetrics(qfont_).horizontalAdvance(QString::fromStdString(utf8));
}

void QtCanvas::CopyRect(const Point& dest, const Image& image, const Rect& src) {
    const auto* qt = dynamic_cast<const QtImage*>(&image);
    if (qt == nullptr) return;
    const QRect from(QPoint(src.Left, src.Top), QPoint(src.Right - 1, src.Bottom - 1));
    if (from.isEmpty()) return;
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.drawImage(QPoint(dest.X, dest.Y), qt->image(), from);
    painter_.restore();
}

}  // namespace platform
