#pragma once

#include <gtest/gtest.h>

#include <QApplication>

namespace test_support {

// A test program of widgets runs its tests inside one application object, off
// screen also when test discovery starts it without the test environment.
inline int RunHeadless(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace test_support
