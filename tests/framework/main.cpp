#include <gtest/gtest.h>

#include "Application.h"

// One application object for the whole run: widgets, menus and the
// exception-catching notify() all need it. No test needs a display, so the
// offscreen platform is the default (test discovery runs without the
// environment the tests get).
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}
