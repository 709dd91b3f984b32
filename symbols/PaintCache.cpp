#include "symbols/PaintCache.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "platform/canvas/QtCanvas.h"

namespace symbols {

void PaintCache::PaintWidget(QWidget& widget, QPaintEvent*, const DrawFn& draw) {
    if (!valid_ || size_ != widget.size()) {
        const QSize size = widget.size();
        image_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        image_.fill(Qt::transparent);
        {
            QPainter painter(&image_);
            platform::QtCanvas canvas(painter);
            draw(canvas);
        }
        size_ = size;
        // A size that changed while drawing brings another paint, which draws anew.
        valid_ = widget.size() == size;
    }
    // One logical pixel per image pixel; on a scaled screen each becomes a sharp block.
    QPainter painter(&widget);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), size_), image_, QRect(QPoint(0, 0), size_));
}

}  // namespace symbols
