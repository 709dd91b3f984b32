#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>
#include <QtTest/QTest>

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

// Each test program of the symbols runs under one application object, off
// screen also when test discovery starts it without the test environment.
#define SYMBOL_TEST_MAIN()                                  \
    int main(int argc, char** argv) {                       \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) \
            qputenv("QT_QPA_PLATFORM", "offscreen");        \
        QApplication app(argc, argv);                       \
        ::testing::InitGoogleTest(&argc, argv);             \
        return RUN_ALL_TESTS();                             \
    }
