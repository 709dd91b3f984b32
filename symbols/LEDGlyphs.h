#pragma once

#include <QImage>
#include <QPoint>
#include <array>
#include <cstdint>

#include "symbols/Brush.h"
#include "symbols/LEDSegments.h"
#include "symbols/Pen.h"

namespace symbols {

// Images of one LED cell, one per segment mask, drawn through the canvas the
// first time a mask is shown. Every cell of a board is the same figure moved
// right by whole pixels, so cell p is cell 1's image laid down further right;
// a new value then costs a few image copies instead of dozens of polygons.
// The images are transparent outside the segments and drawn without
// antialiasing, so laying one down leaves exactly the pixels its polygons would.
class LEDGlyphs {
public:
    struct Style {
        TPen::Attributes onPen, offPen;
        TBrush::Attributes onBrush, offBrush;
        friend bool operator==(const Style&, const Style&) = default;
    };

    // Keeps the images while cell 1's outlines and the style stay the same;
    // drops them otherwise.
    void Use(const std::array<led::Outline, led::kSegments>& cellOne, const Style& style);

    // The image of a cell with `mask` lit, and where its top-left lies for cell 1.
    const QImage& Glyph(uint8_t mask);
    QPoint Origin() const { return origin_; }

private:
    void draw(QImage& image, uint8_t mask) const;

    std::array<led::Outline, led::kSegments> outlines_{};
    Style style_;
    bool set_ = false;
    QPoint origin_;
    QSize size_;
    std::array<QImage, 256> images_;
};

}  // namespace symbols
