#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <QtTest/QTest>
#include <functional>

#include "platform/canvas/QtCanvas.h"
#include "tests/support/HeadlessMain.h"

// Counts the paint events a widget receives and keeps the region of the last
// one, so a test can tell "repainted at once", "repaint requested" and "not
// repainted at all" apart.
class PaintProbe : public QObject {
public:
    explicit PaintProbe(QWidget& widget) { widget.installEventFilter(this); }

    int count = 0;
    QRegion lastRegion;

    void Reset() {
        count = 0;
        lastRegion = QRegion();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
            lastRegion = static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

// Shows the widget as a window of its own and lets its first paints settle.
inline void ShowAndSettle(QWidget& widget) {
    widget.show();
    (void)QTest::qWaitForWindowExposed(&widget);
    QApplication::processEvents();
}

// Runs the posted paint requests.
inline void Flush() {
    QApplication::processEvents();
}

// What the widget shows on screen over a form of colour `face` (after one
// paint to let size rules settle), and what its drawing through the canvas
// leaves on the same form: the two must match pixel for pixel.
inline QImage OnScreen(QWidget& widget, QRgb face = 0xFFD4D0C8) {
    QImage settle(widget.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    widget.render(&settle);
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(face);
    widget.render(&image);
    return image;
}

inline QImage ThroughCanvas(QSize size, const std::function<void(platform::Canvas&)>& draw,
                            QRgb face = 0xFFD4D0C8) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(face);
    QPainter painter(&image);
    platform::QtCanvas canvas(painter);
    draw(canvas);
    return image;
}

// Each test program of the symbols runs under one headless application.
#define SYMBOL_TEST_MAIN()                            \
    int main(int argc, char** argv) {                 \
        return test_support::RunHeadless(argc, argv); \
    }
