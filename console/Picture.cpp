#include "console/Picture.h"

#include <QFile>
#include <QPainter>

namespace console {

TPicture::TPicture(const QString& resource, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Checked first so a missing picture stays silent instead of logging.
    if (QFile::exists(resource)) renderer_.load(resource);
}

void TPicture::paintEvent(QPaintEvent*) {
    if (!renderer_.isValid()) return;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (cache_.size() != pixels) {
        cache_ = QPixmap(pixels);
        cache_.setDevicePixelRatio(ratio);
        cache_.fill(Qt::transparent);
        QPainter onCache(&cache_);
        renderer_.render(&onCache, QRectF(rect()));
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, cache_);
}

}  // namespace console
