#include "MessageLoop.h"

#include <cstdio>
#include <utility>

namespace {

MessageLoop::ExceptionHandler& installedHandler() {
    static MessageLoop::ExceptionHandler handler;
    return handler;
}

} // namespace

void MessageLoop::setExceptionHandler(ExceptionHandler handler) {
    installedHandler() = std::move(handler);
}

void MessageLoop::handleException(std::exception_ptr error) noexcept {
    try {
        if (const ExceptionHandler& handler = installedHandler()) {
            handler(error);
            return;
        }
        std::rethrow_exception(error);
    } catch (const std::exception& unhandled) {
        std::fprintf(stderr, "kuvito: %s\n", unhandled.what());
    } catch (...) {
        // The handler failed, or the exception carries no text: there is
        // nothing left to show it with.
    }
}
