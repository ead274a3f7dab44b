#include "ErrorDisplay.h"

#include <string_view>

#include "Captions.h"
#include "DesktopServices.h"

namespace {
std::string& titleStorage() {
    static std::string title = Captions::text("app.title");
    return title;
}
} // namespace

const std::string& ErrorDisplay::title() {
    return titleStorage();
}

void ErrorDisplay::setTitle(std::string title) {
    titleStorage() = std::move(title);
}

std::string ErrorDisplay::errorBoxText(const std::string& message) {
    if (message.empty())
        return message;
    // The last character is the last lead byte with its continuation bytes
    // (10xxxxxx); a stray run of continuation bytes counts as one character.
    std::size_t start = message.size() - 1;
    while (start > 0 && message.size() - start < 4 &&
           (static_cast<unsigned char>(message[start]) & 0xC0) == 0x80)
        --start;
    const std::string_view last(message.data() + start, message.size() - start);
    // Byte for byte, as unsigned bytes, so that every non-ASCII character
    // (lead byte 0xC2 and up) sorts after ".".
    const std::string_view dot(".");
    bool greater = false;
    for (std::size_t i = 0;; ++i) {
        if (i == last.size()) {
            greater = false;
            break;
        }
        if (i == dot.size()) {
            greater = true;
            break;
        }
        const auto a = static_cast<unsigned char>(last[i]);
        const auto b = static_cast<unsigned char>(dot[i]);
        if (a != b) {
            greater = a > b;
            break;
        }
    }
    return greater ? message + "." : message;
}

void ErrorDisplay::showMessage(const std::string& message) {
    // The box is modal and timers keep ticking inside it: a handler that
    // fails on every tick would otherwise stack a new box on the open one
    // each time, without end. While one box is open, further errors are not
    // shown.
    static bool showing = false;
    if (showing)
        return;
    showing = true;
    try {
        desktopTray().showErrorBox(title(), errorBoxText(message));
    } catch (...) {
        // Showing an error must not raise another one.
    }
    showing = false;
}

void ErrorDisplay::showException(const std::exception& error) {
    showMessage(error.what());
}

void ErrorDisplay::showException(std::exception_ptr error) {
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        showMessage(e.what());
    } catch (...) {
        showMessage(Captions::text("error.unexpected"));
    }
}
