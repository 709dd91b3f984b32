#include "console/Gauge.h"

#include <QPainter>
#include <algorithm>

#include "console/WidgetColours.h"

namespace console {

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGauge::setProgress(int percent) {
    progress_ = percent;
    update();
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);

    // Frame and white ground.
    painter.setPen(Colour(palette::Black));
    painter.setBrush(Colour(palette::White));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    // The bar, clamped so a stock outside the silo's range still draws inside.
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int shown = std::clamp(progress_, 0, 100);
    const int barHeight = inner.height() * shown / 100;
    painter.fillRect(QRect(inner.left(), inner.bottom() - barHeight + 1, inner.width(), barHeight),
                     Colour(palette::Blue));
}

}  // namespace console
