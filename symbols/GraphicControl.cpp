#include "symbols/GraphicControl.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/canvas/QtCanvas.h"

namespace symbols {

TGraphicControl::TGraphicControl(QWidget* parent) : QWidget(parent) {
    // Windowless look: whatever the symbol leaves unpainted shows the form.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void TGraphicControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    platform::QtCanvas canvas(painter, size());
    Paint(canvas);
}

void TGraphicControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    QWidget::mousePressEvent(event);
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    // A click is a left press and release both inside the control.
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

void TGraphicControl::SetWidth(int w) {
    if (w == width()) return;
    resize(w, height());
}

void TGraphicControl::SetHeight(int h) {
    if (h == height()) return;
    resize(width(), h);
}

}  // namespace symbols
