#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "platform/services/QtPointerConfinement.h"
#include "tests/support/HeadlessMain.h"

using platform::QtPointerConfinement;

namespace {

// A window with a block panel (one button, one entry) and a button outside it.
class PointerConfinementTest : public ::testing::Test {
protected:
    PointerConfinementTest() {
        window_.resize(400, 300);
        panel_->setGeometry(50, 50, 200, 100);
        inside_->setGeometry(10, 10, 80, 20);
        entry_->setGeometry(10, 40, 80, 20);
        outside_->setGeometry(300, 250, 80, 20);
        QObject::connect(inside_, &QPushButton::clicked, [this] { ++insideClicks_; });
        QObject::connect(outside_, &QPushButton::clicked, [this] { ++outsideClicks_; });
        window_.show();
    }

    void ClickBoth() {
        QTest::mouseClick(inside_, Qt::LeftButton);
        QTest::mouseClick(outside_, Qt::LeftButton);
    }

    QWidget window_;
    QWidget* panel_ = new QWidget(&window_);
    QPushButton* inside_ = new QPushButton("Разблокировать", panel_);
    QLineEdit* entry_ = new QLineEdit(panel_);
    QPushButton* outside_ = new QPushButton("Выход", &window_);
    int insideClicks_ = 0;
    int outsideClicks_ = 0;
    QtPointerConfinement confinement_;
};

TEST_F(PointerConfinementTest, ClicksOutsideTheAreaAreSwallowedWhileConfined) {
    confinement_.Confine(panel_);
    ClickBoth();
    EXPECT_TRUE(confinement_.Confined());
    EXPECT_EQ(insideClicks_, 1);
    EXPECT_EQ(outsideClicks_, 0);
}

TEST_F(PointerConfinementTest, ClicksInsideReachTheEntryField) {
    QApplication::setActiveWindow(&window_);
    confinement_.Confine(panel_);
    QTest::mouseClick(entry_, Qt::LeftButton);
    EXPECT_TRUE(entry_->hasFocus());
}

TEST_F(PointerConfinementTest, ReleaseFreesThePointer) {
    confinement_.Confine(panel_);
    confinement_.Release();
    ClickBoth();
    EXPECT_FALSE(confinement_.Confined());
    EXPECT_EQ(outsideClicks_, 1);
}

TEST_F(PointerConfinementTest, ConfiningTwiceThenReleasingOnceFreesThePointer) {
    confinement_.Confine(panel_);
    confinement_.Confine(panel_);
    confinement_.Release();
    ClickBoth();
    EXPECT_EQ(insideClicks_, 1);
    EXPECT_EQ(outsideClicks_, 1);
}

TEST_F(PointerConfinementTest, ReleaseWithoutConfineChangesNothing) {
    confinement_.Release();
    ClickBoth();
    EXPECT_EQ(outsideClicks_, 1);
}

TEST_F(PointerConfinementTest, ConfiningToNothingLeavesThePointerFree) {
    confinement_.Confine(nullptr);
    ClickBoth();
    EXPECT_FALSE(confinement_.Confined());
    EXPECT_EQ(outsideClicks_, 1);
}

TEST_F(PointerConfinementTest, AreaDestroyedWhileConfinedFreesItsClicks) {
    confinement_.Confine(panel_);
    delete panel_;
    QTest::mouseClick(outside_, Qt::LeftButton);
    confinement_.Release();
    EXPECT_EQ(outsideClicks_, 1);
}

TEST_F(PointerConfinementTest, DestroyingTheConfinementReleasesThePointer) {
    {
        QtPointerConfinement scoped;
        scoped.Confine(panel_);
    }
    ClickBoth();
    EXPECT_EQ(outsideClicks_, 1);
}

}  // namespace

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
