// The main() of the test programs that need a QApplication: offscreen
// unless the environment names a platform.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Listing the tests runs this too, without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A test whose program folder is not writable falls back on the user's
    // own settings file; it must never reach the real one. No folder can be
    // created below /dev/null, not even by root, so such writes fail unless
    // a test names a configuration folder of its own.
    qputenv("XDG_CONFIG_HOME", "/dev/null/kuvito-tests");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
