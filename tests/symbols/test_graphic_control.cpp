#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "symbols/Latch.h"
#include "tests/symbols/DeviceSymbolTestApp.h"

namespace {

class GraphicControlTest : public ::testing::Test {
protected:
    symbols_test::WithApp app;
    symbols::TLatch latch;
};

TEST_F(GraphicControlTest, ClickAnywhereInsideIsReported) {
    latch.setTag(5);
    QSignalSpy clicks(&latch, &symbols::TGraphicControl::clicked);
    QTest::mouseClick(&latch, Qt::LeftButton, {}, QPoint(19, 19));
    QTest::mouseClick(&latch, Qt::LeftButton, {}, QPoint(0, 0));
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(latch.Tag(), 5);
}

TEST_F(GraphicControlTest, ReleaseOutsideOrRightButtonIsNoClick) {
    QSignalSpy clicks(&latch, &symbols::TGraphicControl::clicked);
    QTest::mousePress(&latch, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&latch, Qt::LeftButton, {}, QPoint(25, 5));
    QTest::mouseClick(&latch, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(GraphicControlTest, WidgetPaintAppliesTheSizeRuleAndDrawsCrispAtRatioTwo) {
    latch.resize(20, 35);
    QImage screen(40, 70, QImage::Format_ARGB32_Premultiplied);
    screen.setDevicePixelRatio(2.0);
    screen.fill(Qt::white);
    latch.render(&screen);
    EXPECT_EQ(latch.size(), QSize(20, 20));
    // Logical pixel (0,0) of the green frame is a full 2 x 2 block of device pixels.
    for (QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
        EXPECT_EQ(screen.pixel(p), qRgb(0, 128, 0));
    // Logical (3,3), the corner of a plate, is black; (2,2) is the face colour.
    EXPECT_EQ(screen.pixel(6, 6), qRgb(0, 0, 0));
    EXPECT_EQ(screen.pixel(7, 7), qRgb(0, 0, 0));
    EXPECT_EQ(screen.pixel(4, 4), qRgb(212, 208, 200));
    EXPECT_EQ(screen.pixel(5, 5), qRgb(212, 208, 200));
}

}  // namespace
