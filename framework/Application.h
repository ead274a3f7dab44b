#pragma once

#include "MessageLoop.h"

#include <memory>

// The program's application object: the toolkit's message loop, with every
// exception that leaves an event handler shown by ErrorDisplay; the loop
// goes on afterwards. There is one, made first in main().
class Application {
public:
    explicit Application(std::unique_ptr<MessageLoop> loop);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the message loop until quit(); returns quit's exit code.
    int exec();
    void quit(int exitCode = 0);

private:
    std::unique_ptr<MessageLoop> loop_;
};
