#include "Application.h"

#include "ErrorDisplay.h"

#include <utility>

Application::Application(std::unique_ptr<MessageLoop> loop) : loop_(std::move(loop)) {
    MessageLoop::setExceptionHandler([](std::exception_ptr error) { ErrorDisplay::showException(error); });
}

Application::~Application() {
    MessageLoop::setExceptionHandler(nullptr);
}

int Application::exec() {
    return loop_->run();
}

void Application::quit(int exitCode) {
    loop_->quit(exitCode);
}
