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
    QPainter painter(this);
    renderer_.render(&painter, QRectF(rect()));
}

}  // namespace console
