// The main() of every test program that needs a QApplication: offscreen
// unless the environment names a platform, with what each program adds
// through TestMainHooks.
#include "TestMainHooks.h"

#include <gtest/gtest.h>

TestMainHooks& testMainHooks() {
    static TestMainHooks hooks;
    return hooks;
}

int main(int argc, char** argv) {
    const TestMainHooks& hooks = testMainHooks();
    if (hooks.takeOver)
        if (const std::optional<int> code = hooks.takeOver(argc, argv))
            return *code;
    // Listing the tests runs this too, without the test environment.
    const bool offscreen = hooks.wantsDisplay ? qEnvironmentVariableIsEmpty("DISPLAY")
                                              : qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (offscreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A test whose program folder is not writable falls back on the user's
    // own settings file; it must never reach the real one. No folder can be
    // created below /dev/null, not even by root, so such writes fail unless
    // a test names a configuration folder of its own.
    qputenv("XDG_CONFIG_HOME", "/dev/null/kuvito-tests");
    const std::shared_ptr<void> app = hooks.makeApplication ? hooks.makeApplication(argc, argv)
                                                            : std::make_shared<QApplication>(argc, argv);
    if (hooks.afterApplication)
        hooks.afterApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
