// The main() of the test programs that need a QApplication: offscreen
// unless the environment names a platform.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Listing the tests runs this too, without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
