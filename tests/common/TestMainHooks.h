#pragma once

#include <QApplication>

#include <functional>
#include <memory>
#include <optional>

// What a test program adds to the shared main() (QtTestMain.cpp). A program
// sets the hooks it needs from a static initializer of its own (see
// registerTestMainHooks); every hook left empty keeps the shared default.
struct TestMainHooks {
    // Runs first; a value ends the process with it (for a program that runs
    // itself again as a child process).
    std::function<std::optional<int>(int argc, char** argv)> takeOver;
    // Whether the program tests a real display: then the offscreen platform
    // is used only when there is no display at all.
    bool wantsDisplay = false;
    // The application object, or what owns it (the program's Application
    // owns its QApplication through the message loop); a plain QApplication
    // by default.
    std::function<std::shared_ptr<void>(int& argc, char** argv)> makeApplication;
    // Runs once the application exists.
    std::function<void()> afterApplication;
};

TestMainHooks& testMainHooks();

// Sets the hooks during static initialisation: `static const bool hooked =
// registerTestMainHooks([](TestMainHooks& hooks) { ... });`
inline bool registerTestMainHooks(const std::function<void(TestMainHooks&)>& set) {
    set(testMainHooks());
    return true;
}
