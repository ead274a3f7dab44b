#include "WindowStateKeeper.h"

#include "XlibBridge.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

namespace {

// Qt states _NET_WM_STATE_ABOVE itself from this flag every time it maps the
// window, so the flag has to agree with the record.
constexpr const char* kAbove = "_NET_WM_STATE_ABOVE";

void setQtFlag(QWidget& window, const std::string& state, bool on) {
    if (state != kAbove)
        return;
    // In place: QWindow::setFlag changes the existing X window, while
    // QWidget::setWindowFlag would destroy and re-create it.
    if (window.testAttribute(Qt::WA_WState_Created) && window.windowHandle())
        window.windowHandle()->setFlag(Qt::WindowStaysOnTopHint, on);
    else
        window.setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

} // namespace

WindowStateKeeper::WindowStateKeeper(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowStateKeeper& WindowStateKeeper::of(QWidget& window) {
    for (QObject* child : window.children())
        if (auto* keeper = dynamic_cast<WindowStateKeeper*>(child))
            return *keeper;
    return *new WindowStateKeeper(window); // owned by the window
}

const WindowStateKeeper* WindowStateKeeper::find(const QWidget& window) {
    for (const QObject* child : window.children())
        if (auto* keeper = dynamic_cast<const WindowStateKeeper*>(child))
            return keeper;
    return nullptr;
}

void WindowStateKeeper::keep(const std::string& state, bool on, bool follow) {
    Entry& entry = states_[state];
    entry.on = on;
    entry.follow = follow;
    if (elsewhere_) {
        if (elsewhere_->wmMapped()) {
            entry.pending = true;
            elsewhere_->requestWmState(state, on);
        } else {
            writeProperty();
        }
        return;
    }
    setQtFlag(window_, state, on);
    if (!window_.testAttribute(Qt::WA_WState_Created))
        return; // stated when the window is first shown
    if (window_.isVisible()) {
        entry.pending = true;
        XlibBridge::setWmState(window_.winId(), true, on, state.c_str());
    } else {
        writeProperty();
    }
}

std::optional<bool> WindowStateKeeper::state(const std::string& state) const {
    auto it = states_.find(state);
    return it == states_.end() ? std::nullopt : std::optional<bool>(it->second.on);
}

void WindowStateKeeper::writeProperty() {
    if (elsewhere_) {
        std::vector<std::pair<std::string, bool>> states;
        for (auto& [state, entry] : states_) {
            entry.pending = false;
            states.emplace_back(state, entry.on);
        }
        elsewhere_->writeWmStates(states);
        return;
    }
    for (auto& [state, entry] : states_) {
        entry.pending = false;
        XlibBridge::setWmState(window_.winId(), false, entry.on, state.c_str());
    }
}

void WindowStateKeeper::learnFromWindowManager() {
    for (auto& [state, entry] : states_) {
        if (!entry.follow)
            continue;
        const bool now = elsewhere_ ? elsewhere_->hasWmState(state)
                                    : XlibBridge::hasWmState(window_.winId(), state.c_str());
        if (entry.pending) {
            // Property changes from before the request say nothing new.
            entry.pending = now != entry.on;
            continue;
        }
        if (now != entry.on) {
            entry.on = now;
            if (!elsewhere_)
                setQtFlag(window_, state, now);
        }
    }
}

bool WindowStateKeeper::eventFilter(QObject* watched, QEvent* event) {
    // Qt sends Show before it maps the window; a spontaneous one comes from
    // the window system for a window that is mapped already.
    if (!elsewhere_ && watched == &window_ && event->type() == QEvent::Show && !event->spontaneous())
        writeProperty();
    return false;
}

bool WindowStateKeeper::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (elsewhere_ || eventType != "xcb_generic_event_t" || !window_.testAttribute(Qt::WA_WState_Created))
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
    // Only the shown window's state is the window manager's decision: it
    // deletes the property of a window it stops managing, which says
    // nothing about what the window should be when it is shown again.
    if (change->window == window_.winId() && change->atom == XlibBridge::internAtom("_NET_WM_STATE") &&
        window_.isVisible())
        learnFromWindowManager();
    return false;
}
