#include "console/Shape.h"

#include <QPainter>

#include "console/WidgetColours.h"

namespace console {

TShape::TShape(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::setPen(platform::TColor color, int width) {
    pen_ = color;
    penWidth_ = width;
    update();
}

void TShape::setBrush(platform::TColor color) {
    brush_ = color;
    filled_ = true;
    update();
}

void TShape::setNoBrush() {
    filled_ = false;
    update();
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (kind_ == Kind::Circle) painter.setRenderHint(QPainter::Antialiasing);

    // The pen lies inside the bounding box, as the figure's outline.
    QPen pen(Colour(pen_), penWidth_);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(filled_ ? QBrush(Colour(brush_)) : Qt::NoBrush);
    const qreal inset = penWidth_ / 2.0;
    const QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);

    if (kind_ == Kind::Circle) {
        painter.drawEllipse(box);
    } else {
        painter.drawRect(box);
    }
}

}  // namespace console
