#include "platform/canvas/QtCanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPolygon>
#include <QVector>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/canvas/EllipseRaster.h"
#include "platform/canvas/QtImage.h"
#include "platform/canvas/QtShapeRaster.h"
#include "platform/canvas/SystemColor.h"

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

// Box X1..X2-1 grown by `by` pixels on every side (shrunk when negative).
QRect Extent(int x1, int y1, int x2, int y2, int by) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    return QRect(QPoint(x1 - by, y1 - by), QPoint(x2 - 1 + by, y2 - 1 + by));
}

bool Scales(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    return t.m11() != 1.0 || t.m22() != 1.0 || t.m12() != 0.0 || t.m21() != 0.0;
}

// An image the canvas may write pixels into directly: 32-bit, unscaled,
// shifted by whole pixels at most, and not clipped.
QImage* WritableImage(QPainter& painter, QPoint& offset) {
    QPaintDevice* device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
    auto* image = static_cast<QImage*>(device);
    const auto format = image->format();
    if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_RGB32 &&
        format != QImage::Format_ARGB32)
        return nullptr;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()) || painter.hasClipping() ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter.opacity() != 1.0)
        return nullptr;
    offset = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    return image;
}

// With a logical size, drawing goes into a 1:1 layer unless the painter can
// take pixel writes directly; a scaling painter always gets a layer.
QPainter& Target(QPainter& outer, QSize size, std::unique_ptr<QImage>& layer,
                 std::unique_ptr<QPainter>& layerPainter) {
    QPoint ignored;
    if (!size.isValid() || size.isEmpty()) return outer;
    if (!Scales(outer) && WritableImage(outer, ignored) != nullptr) return outer;
    layer = std::make_unique<QImage>(size, QImage::Format_ARGB32_Premultiplied);
    layer->fill(Qt::transparent);
    layerPainter = std::make_unique<QPainter>(layer.get());
    return *layerPainter;
}

// Most spans are a few pixels (slanted lines, narrow bands down a wide
// vertical line): written one by one, without a general fill's set-up.
void FillSpan(uint32_t* pixel, int count, uint32_t argb) {
    switch (count) {
        case 3:
            pixel[2] = argb;
            [[fallthrough]];
        case 2:
            pixel[1] = argb;
            [[fallthrough]];
        case 1:
            pixel[0] = argb;
            return;
        default:
            std::fill(pixel, pixel + count, argb);
    }
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
    Sync();
    direct_ = WritableImage(painter_, offset_);
    if (direct_ != nullptr) {
        bits_ = direct_->bits();
        stride_ = direct_->bytesPerLine();
        width_ = direct_->width();
        height_ = direct_->height();
    }
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
    styleDirty_ = true;
}

void QtCanvas::SetPenWidth(int w) {
    penWidth_ = w;
    styleDirty_ = true;
}

void QtCanvas::SetPenStyle(PenStyle s) {
    penStyle_ = s;
    styleDirty_ = true;
}

void QtCanvas::SetBrushColor(TColor c) {
    brushColor_ = c;
    styleDirty_ = true;
}

void QtCanvas::SetBrushStyle(BrushStyle s) {
    brushStyle_ = s;
    styleDirty_ = true;
}

// Pen and fill reach the painter only before it draws: runs written into the
// image directly never need them.
void QtCanvas::Sync() {
    if (!styleDirty_) return;
    styleDirty_ = false;
    ApplyPen();
    ApplyBrush();
}

void QtCanvas::ApplyPen() {
    if (penStyle_ == PenStyle::Clear) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    const QtShapeRaster::Stroke stroke = PenStroke();
    QPen pen(ResolveColor(penColor_), stroke.width);
    pen.setCapStyle(stroke.cap);
    pen.setJoinStyle(stroke.join);
    if (penStyle_ == PenStyle::Dot) pen.setDashPattern(kDotPattern);
    painter_.setPen(pen);
}

// The width, ends and joins of the pen; width 0 when there is no pen.
QtShapeRaster::Stroke QtCanvas::PenStroke() const {
    if (penStyle_ == PenStyle::Clear) return {0, Qt::FlatCap, Qt::MiterJoin};
    // Width 0 paints like width 1, as a GDI pen does. A one-pixel line leaves
    // its end point unpainted (flat cap); wide lines get round ends and joins
    // like a geometric pen.
    if (penWidth_ <= 1) return {1, Qt::FlatCap, Qt::MiterJoin};
    return {penWidth_, Qt::RoundCap, Qt::RoundJoin};
}

void QtCanvas::ApplyBrush() {
    if (brushStyle_ == BrushStyle::Clear)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(ResolveColor(brushColor_));
}

void QtCanvas::FillRuns(const std::vector<PixelRun>& runs, TColor color, QPoint at) {
    if (runs.empty()) return;
    if (direct_ != nullptr) {
        WriteRuns(runs, color, at);
        return;
    }
    rects_.clear();
    for (const PixelRun& run : runs)
        rects_.append(QRect(run.x1 + at.x(), run.y + at.y(), run.x2 - run.x1 + 1, 1));
    FillRects(color);
}

void QtCanvas::FillRects(TColor color) {
    if (direct_ != nullptr) {
        WriteRects(color);
        return;
    }
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ResolveColor(color));
    painter_.drawRects(rects_);
    styleDirty_ = true;
}

// Opaque colours simply replace the pixels, so runs are written straight into
// the image: far cheaper than one fill call per run.
void QtCanvas::WriteRects(TColor color) {
    const uint32_t argb = Argb(color);
    for (const QRect& rect : rects_) {
        const int left = std::max(rect.left() + offset_.x(), 0);
        const int right = std::min(rect.right() + offset_.x(), width_ - 1);
        const int top = std::max(rect.top() + offset_.y(), 0);
        const int bottom = std::min(rect.bottom() + offset_.y(), height_ - 1);
        if (left > right) continue;
        const int count = right - left + 1;
        uchar* line = bits_ + static_cast<ptrdiff_t>(top) * stride_ + left * 4;
        uchar* const end = bits_ + static_cast<ptrdiff_t>(bottom + 1) * stride_;
        // Wide vertical lines are bands of one or two pixels down many rows.
        if (count <= 2) {
            for (; line < end; line += stride_) {
                auto* pixel = reinterpret_cast<uint32_t*>(line);
                pixel[0] = argb;
                pixel[count - 1] = argb;
            }
            continue;
        }
        for (; line < end; line += stride_)
            FillSpan(reinterpret_cast<uint32_t*>(line), count, argb);
    }
}

// Runs go into the image the same way, without a rectangle list in between.
void QtCanvas::WriteRuns(const std::vector<PixelRun>& runs, TColor color, QPoint at) {
    const uint32_t argb = Argb(color);
    const int dx = at.x() + offset_.x();
    const int dy = at.y() + offset_.y();
    for (const PixelRun& run : runs) {
        const int y = run.y + dy;
        const int left = std::max(run.x1 + dx, 0);
        const int right = std::min(run.x2 + dx, width_ - 1);
        if (y < 0 || y >= height_ || left > right) continue;
        auto* row = reinterpret_cast<uint32_t*>(bits_ + static_cast<ptrdiff_t>(y) * stride_);
        FillSpan(row + left, right - left + 1, argb);
    }
}

// A kept shape, fill first, then outline. Shapes lying wholly inside the
// image (nearly all) are written without clipping each run.
void QtCanvas::WriteShape(const QtShapeRaster::Shape& shape, QPoint origin, bool withFill) {
    const long long dx = static_cast<long long>(origin.x()) + offset_.x();
    const long long dy = static_cast<long long>(origin.y()) + offset_.y();
    const bool inside = shape.left + dx >= 0 && shape.right + dx < width_ && shape.top + dy >= 0 &&
                        shape.bottom + dy < height_;
    if (!inside) {
        if (withFill) FillRuns(shape.fill, brushColor_, origin);
        FillRuns(shape.stroke, penColor_, origin);
        return;
    }
    const auto write = [&](const std::vector<PixelRun>& runs, uint32_t argb) {
        uchar* const base = bits_ + dy * stride_ + dx * 4;
        for (const PixelRun& run : runs) {
            auto* row = reinterpret_cast<uint32_t*>(base + static_cast<ptrdiff_t>(run.y) * stride_);
            FillSpan(row + run.x1, run.x2 - run.x1 + 1, argb);
        }
    };
    if (withFill && !shape.fill.empty()) write(shape.fill, Argb(brushColor_));
    if (!shape.stroke.empty()) write(shape.stroke, Argb(penColor_));
}

// Symbols draw line after line in one colour: the last one resolved is kept.
uint32_t QtCanvas::Argb(TColor color) {
    if (!argbValid_ || color != argbColor_) {
        argbColor_ = color;
        argb_ = ResolveColor(color).rgba();
        argbValid_ = true;
    }
    return argb_;
}

// Outlines and fills are painted as runs of whole pixels: exact GDI extents
// on every painter, and far cheaper than stroking paths for wide pens.
// Dotted outlines are rare and go through Qt's stroker.
void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (penStyle_ == PenStyle::Dot) {
        Sync();
        painter_.drawRect(OutlineBox(x1, y1, x2, y2));
        return;
    }
    if (penStyle_ == PenStyle::Clear) {
        // Without a pen the filled area ends one pixel short on the right and bottom.
        if (brushStyle_ == BrushStyle::Solid) {
            rects_ = {Extent(x1, y1, x2 - 1, y2 - 1, 0)};
            if (!rects_.front().isEmpty()) FillRects(brushColor_);
        }
        return;
    }
    const int w = std::max(penWidth_, 1);
    const QRect outer = Extent(x1, y1, x2, y2, w / 2);
    const QRect inner = Extent(x1, y1, x2, y2, -((w + 1) / 2));
    if (outer.isEmpty()) return;
    if (brushStyle_ == BrushStyle::Solid && !inner.isEmpty()) {
        rects_ = {inner};
        FillRects(brushColor_);
    }
    if (inner.isEmpty()) {
        rects_ = {outer};
    } else {
        rects_ = {
            QRect(QPoint(outer.left(), outer.top()), QPoint(outer.right(), inner.top() - 1)),
            QRect(QPoint(outer.left(), inner.bottom() + 1), QPoint(outer.right(), outer.bottom())),
            QRect(QPoint(outer.left(), inner.top()), QPoint(inner.left() - 1, inner.bottom())),
            QRect(QPoint(inner.right() + 1, inner.top()), QPoint(outer.right(), inner.bottom()))};
    }
    FillRects(penColor_);
}

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (penStyle_ == PenStyle::Dot) {
        Sync();
        painter_.drawEllipse(OutlineBox(x1, y1, x2, y2));
        return;
    }
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const int w = penStyle_ == PenStyle::Clear ? 0 : std::max(penWidth_, 1);
    const auto& shape = EllipseRaster::Cached(x2 - x1, y2 - y1, w);
    const QPoint at(x1, y1);
    if (brushStyle_ == BrushStyle::Solid) FillRuns(shape.area, brushColor_, at);
    if (w > 0) FillRuns(shape.outline, penColor_, at);
}

// Polygons and slanted lines take their pixels from QPainter, once per shape:
// repaints write the kept runs into the image.
void QtCanvas::Polygon(std::span<const Point> points) {
    if (points.empty()) return;
    QPoint origin;
    const bool filled = brushStyle_ == BrushStyle::Solid;
    // Dotted outlines are rare and left to the painter.
    const bool cached = direct_ != nullptr && penStyle_ != PenStyle::Dot;
    if (const auto* shape = cached ? QtShapeRaster::Polygon(points, PenStroke(), filled,
                                                            painter_.renderHints(), origin)
                                   : nullptr) {
        WriteShape(*shape, origin, true);
        return;
    }
    Sync();
    painter_.drawPolygon(ToPolygon(points));
}

void QtCanvas::Polyline(std::span<const Point> points) {
    if (points.empty()) return;
    // Each segment leaves its end unpainted; the next one starts there.
    MoveTo(points.front().X, points.front().Y);
    for (size_t i = 1; i < points.size(); ++i) LineTo(points[i].X, points[i].Y);
}

void QtCanvas::MoveTo(int x, int y) {
    current_ = {x, y};
}

void QtCanvas::LineTo(int x, int y) {
    StrokeSegment(current_, {x, y});
    current_ = {x, y};
}

void QtCanvas::StrokeSegment(Point from, Point to) {
    if (penStyle_ == PenStyle::Clear || from == to) return;
    const bool straight = from.X == to.X || from.Y == to.Y;
    const int w = std::max(penWidth_, 1);
    if (!straight || (w > 1 && penStyle_ == PenStyle::Dot)) {
        QPoint origin;
        const bool cached = direct_ != nullptr && penStyle_ == PenStyle::Solid;
        if (const auto* shape =
                cached ? QtShapeRaster::Line(from, to, PenStroke(), painter_.renderHints(), origin)
                       : nullptr) {
            WriteShape(*shape, origin, false);
            return;
        }
        Sync();
        painter_.drawLine(from.X, from.Y, to.X, to.Y);
        return;
    }
    rects_.clear();
    if (w > 1) {
        // A wide straight line: a band w pixels across, centred on the line
        // and reaching half the width past both ends.
        const QRect line = QRect(QPoint(from.X, from.Y), QPoint(to.X, to.Y)).normalized();
        rects_.append(line.adjusted(-w / 2, -w / 2, (w - 1) / 2, (w - 1) / 2));
        FillRects(penColor_);
        return;
    }
    // One-pixel line: the pixels from `from` up to, not including, `to`; a
    // dotted pen paints three, skips three.
    const int dx = (to.X > from.X) - (to.X < from.X);
    const int dy = (to.Y > from.Y) - (to.Y < from.Y);
    const int length = std::abs(to.X - from.X) + std::abs(to.Y - from.Y);
    const int dash = penStyle_ == PenStyle::Dot ? 3 : length;
    for (int start = 0; start < length; start += 2 * dash) {
        const int end = std::min(start + dash, length) - 1;
        const QPoint a(from.X + dx * start, from.Y + dy * start);
        const QPoint b(from.X + dx * end, from.Y + dy * end);
        rects_.append(QRect(a, b).normalized());
    }
    FillRects(penColor_);
}

void QtCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (penStyle_ == PenStyle::Clear) return;
    FillRuns(EllipseRaster::Arc(x1, y1, x2, y2, std::max(penWidth_, 1), x3, y3, x4, y4), penColor_);
}

void QtCanvas::FillRect(const Rect& r) {
    if (brushStyle_ == BrushStyle::Clear) return;
    const QRect box = QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
    if (box.isEmpty()) return;
    rects_ = {box};
    FillRects(brushColor_);
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

// The cell height of the font plus its internal leading, the part of the cell
// above the character height (the pixel size) that the font keeps for accents.
int QtCanvas::TextHeight() const {
    const int cell = QFontMetrics(qfont_).height();
    const int internalLeading = std::max(0, cell - qfont_.pixelSize());
    return cell + internalLeading;
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
