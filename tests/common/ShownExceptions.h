#pragma once

#include "MessageLoop.h"

#include <exception>
#include <string>
#include <vector>

// While it lives, what the message loop's handlers throw comes here instead
// of to the error box: texts holds each message in order. The loop's handler
// is cleared when it goes, so that it never outlives the test.
struct ShownExceptions {
    ShownExceptions() {
        MessageLoop::setExceptionHandler([this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                texts.push_back(e.what());
            }
        });
    }
    ~ShownExceptions() { MessageLoop::setExceptionHandler(nullptr); }
    ShownExceptions(const ShownExceptions&) = delete;
    ShownExceptions& operator=(const ShownExceptions&) = delete;

    std::vector<std::string> texts;
};
