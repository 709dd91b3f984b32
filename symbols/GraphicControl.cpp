#include "symbols/GraphicControl.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include "platform/canvas/QtCanvas.h"

namespace symbols {

TGraphicControl::TGraphicControl(QWidget* parent) : QWidget(parent) {
    // Windowless look: whatever the symbol leaves unpainted shows the form.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void TGraphicControl::Paint(platform::Canvas& canvas) {
    // Qt tells a hidden widget of a new size only when it shows it; a symbol
    // drawn before that (off screen, in a test) hears of it here, as
    // QWidget::render() does, so that its size rule holds in the drawing.
    if (testAttribute(Qt::WA_PendingResizeEvent)) {
        setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent resized(size(), QSize());
        QCoreApplication::sendEvent(this, &resized);
    }
    Draw(canvas);
}

void TGraphicControl::KeepSizeRule() {
    const QSize ruled = SizeFor(size());
    if (ruled != size()) resize(ruled);
}

void TGraphicControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    platform::QtCanvas canvas(painter, size());
    Paint(canvas);
}

void TGraphicControl::resizeEvent(QResizeEvent* event) {
    KeepSizeRule();
    QWidget::resizeEvent(event);
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

}  // namespace symbols
