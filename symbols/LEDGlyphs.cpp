#include "symbols/LEDGlyphs.h"

#include <QPainter>
#include <algorithm>

#include "platform/canvas/QtCanvas.h"

namespace symbols {

void LEDGlyphs::Use(const std::array<led::Outline, led::kSegments>& cellOne, const Style& style) {
    if (set_ && cellOne == outlines_ && style == style_) return;
    outlines_ = cellOne;
    style_ = style;
    set_ = true;
    for (QImage& image : images_) image = QImage();

    int left = cellOne[0][0].X, right = left, top = cellOne[0][0].Y, bottom = top;
    for (const auto& outline : cellOne)
        for (const platform::Point& p : outline) {
            left = std::min(left, p.X);
            right = std::max(right, p.X);
            top = std::min(top, p.Y);
            bottom = std::max(bottom, p.Y);
        }
    // Room for the outline's pen, centred on the polygon's edge.
    const int margin = std::max({style.onPen.Width, style.offPen.Width, 1}) / 2 + 2;
    origin_ = QPoint(left - margin, top - margin);
    size_ = QSize(right - left + 2 * margin + 1, bottom - top + 2 * margin + 1);
}

const QImage& LEDGlyphs::Glyph(uint8_t mask) {
    QImage& image = images_[mask];
    if (image.isNull()) {
        image = QImage(size_, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        draw(image, mask);
    }
    return image;
}

void LEDGlyphs::draw(QImage& image, uint8_t mask) const {
    QPainter painter(&image);
    platform::QtCanvas canvas(painter);
    for (int s = 0; s < led::kSegments; ++s) {
        const bool lit = (mask >> s) & 1;
        const TPen::Attributes& pen = lit ? style_.onPen : style_.offPen;
        const TBrush::Attributes& brush = lit ? style_.onBrush : style_.offBrush;
        canvas.SetPenColor(pen.Color);
        canvas.SetPenWidth(pen.Width);
        canvas.SetPenStyle(pen.Style);
        canvas.SetBrushColor(brush.Color);
        canvas.SetBrushStyle(brush.Style);
        led::Outline moved = outlines_[static_cast<size_t>(s)];
        for (platform::Point& p : moved) {
            p.X -= origin_.x();
            p.Y -= origin_.y();
        }
        canvas.Polygon(moved);
    }
}

}  // namespace symbols
