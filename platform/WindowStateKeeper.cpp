#include "WindowStateKeeper.h"

#include "XlibBridge.h"

#include <QEvent>
#include <QWidget>

WindowStateKeeper::WindowStateKeeper(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
}

WindowStateKeeper& WindowStateKeeper::of(QWidget& window) {
    for (QObject* child : window.children())
        if (auto* keeper = dynamic_cast<WindowStateKeeper*>(child))
            return *keeper;
    return *new WindowStateKeeper(window); // owned by the window
}

void WindowStateKeeper::keep(const std::string& state, bool on) {
    states_[state] = on;
    if (!window_.testAttribute(Qt::WA_WState_Created))
        return; // stated when the window is first shown
    if (window_.isVisible())
        XlibBridge::setWmState(window_.winId(), true, on, state.c_str());
    else
        writeProperty();
}

void WindowStateKeeper::writeProperty() {
    for (const auto& [state, on] : states_)
        XlibBridge::setWmState(window_.winId(), false, on, state.c_str());
}

bool WindowStateKeeper::eventFilter(QObject* watched, QEvent* event) {
    // Qt sends Show before it maps the window; a spontaneous one comes from
    // the window system for a window that is mapped already.
    if (watched == &window_ && event->type() == QEvent::Show && !event->spontaneous())
        writeProperty();
    return false;
}
