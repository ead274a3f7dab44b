#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Without a display (listing the tests at build time, or a run outside
    // the virtual desktop) Qt still needs a platform; every test then skips.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
