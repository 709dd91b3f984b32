#pragma once

#include <QImage>
#include <QSize>
#include <functional>

#include "platform/canvas/Canvas.h"

class QWidget;
class QPaintEvent;

namespace symbols {

// The last drawing of a passive symbol, kept as an image at the symbol's size
// and laid onto the screen on every paint. The symbol draws through the canvas
// again only after something changed its look (Invalidate) or its size, so a
// repaint with nothing new costs one image copy instead of a hundred strokes.
// The image starts transparent and the drawing has no antialiasing, so laying
// it over the form leaves exactly the pixels the drawing would have left.
class PaintCache {
public:
    using DrawFn = std::function<void(platform::Canvas&)>;

    void Invalidate() { valid_ = false; }
    bool Valid() const { return valid_; }

    // Paints `widget` for `event`, drawing through `draw` first when stale.
    // `draw` may resize the widget (a hidden widget rendered before Qt told it
    // of its size settles it then); the drawing is then kept only once a
    // paint at the settled size has made it.
    void PaintWidget(QWidget& widget, QPaintEvent* event, const DrawFn& draw);

private:
    QImage image_;
    QSize size_;
    bool valid_ = false;
};

}  // namespace symbols
