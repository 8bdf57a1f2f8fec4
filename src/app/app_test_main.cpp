// Test main of the app's window tests: the one application object of the program, of the
// guarded kind the program runs with, always on Qt's offscreen platform (also when
// ctest lists the tests, which runs without the test environment).
#include <gtest/gtest.h>

#include "app/error_report.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    sendwerk::GuardedApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
