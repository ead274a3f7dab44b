#include "SimulatedDesktop.h"

#include "QtIconHandle.h"
#include "QtMenu.h"
#include "QtModalDialog.h"
#include "QtWindowHandle.h"
#include "RgnRegion.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QMenu>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <limits>

// The simulated clock keeps every timer's next due time. Timers hold a weak
// reference to it, so a timer that outlives its desktop (or a desktop that is
// replaced while windows still hold timers) does nothing instead of crashing.
class SimulatedDesktop::Clock {
public:
    struct Entry {
        std::shared_ptr<std::function<void()>> onTick;
        int period = 0;
        bool running = false;
        std::int64_t due = 0;
        std::uint64_t order = 0; // breaks ties between timers due together
    };

    std::int64_t now = 0;
    std::map<int, Entry> entries;
    int nextId = 1;
    std::uint64_t nextOrder = 1;

    void start(int id, int periodMs) {
        auto it = entries.find(id);
        if (it == entries.end())
            return;
        if (periodMs <= 0) {
            it->second.running = false;
            return;
        }
        it->second.period = periodMs;
        it->second.running = true;
        it->second.due = now + periodMs;
        it->second.order = nextOrder++;
    }
    void stop(int id) {
        auto it = entries.find(id);
        if (it != entries.end())
            it->second.running = false;
    }
    // The running timer that falls due first, at or before the limit.
    std::map<int, Entry>::iterator nextDue(std::int64_t limit) {
        auto best = entries.end();
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            const Entry& e = it->second;
            if (!e.running || e.due > limit)
                continue;
            if (best == entries.end() || e.due < best->second.due ||
                (e.due == best->second.due && e.order < best->second.order))
                best = it;
        }
        return best;
    }
};

namespace {

class SimulatedTimer : public TimerSource {
public:
    SimulatedTimer(std::weak_ptr<SimulatedDesktop::Clock> clock, int id)
        : clock_(std::move(clock)), id_(id) {}
    ~SimulatedTimer() override {
        if (auto clock = clock_.lock())
            clock->entries.erase(id_);
    }
    void start(int periodMs) override {
        if (auto clock = clock_.lock())
            clock->start(id_, periodMs);
    }
    void stop() override {
        if (auto clock = clock_.lock())
            clock->stop(id_);
    }

private:
    std::weak_ptr<SimulatedDesktop::Clock> clock_;
    int id_;
};

QString withoutMnemonics(QString text) {
    // "&&" stands for a literal ampersand; a lone '&' only marks the mnemonic.
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

} // namespace

SimulatedDesktop::SimulatedDesktop()
    : clock_(std::make_shared<Clock>()), guard_(std::make_unique<QObject>()) {}

SimulatedDesktop::~SimulatedDesktop() = default;

// --- own windows -----------------------------------------------------------

SimulatedDesktop::WidgetState& SimulatedDesktop::state(QWidget& window) {
    auto it = widgets_.find(&window);
    if (it != widgets_.end())
        return it->second;
    const QWidget* key = &window;
    QObject::connect(&window, &QObject::destroyed, guard_.get(), [this, key] {
        widgets_.erase(key);
        if (foregroundWidget_ == key)
            foregroundWidget_ = nullptr;
    });
    return widgets_[key];
}

const SimulatedDesktop::WidgetState* SimulatedDesktop::findState(const QWidget& window) const {
    auto it = widgets_.find(&window);
    return it == widgets_.end() ? nullptr : &it->second;
}

void SimulatedDesktop::hideFromTaskbar(WindowHandle handle) {
    QWidget& window = widgetOf(handle);
    WidgetState& s = state(window);
    if (!s.hiddenFromTaskbar)
        s.hiddenBeforeShown = !window.isVisible();
    s.hiddenFromTaskbar = true;
}

void SimulatedDesktop::moveWindow(WindowHandle handle, int left, int top) {
    QWidget& window = widgetOf(handle);
    window.move(left, top);
    moves_.push_back({&window, left, top, false});
}

ScreenPoint SimulatedDesktop::windowPos(WindowHandle window) const {
    const QPoint pos = widgetOf(window).frameGeometry().topLeft();
    return {pos.x(), pos.y()};
}

void SimulatedDesktop::setTopMost(WindowHandle window, bool on) {
    WidgetState& s = state(widgetOf(window));
    s.topMost = on;
    ++s.topMostSets;
}

bool SimulatedDesktop::isTopMost(WindowHandle window) const {
    return isTopMost(widgetOf(window));
}

bool SimulatedDesktop::isTopMost(const QWidget& window) const {
    const WidgetState* s = findState(window);
    // Never set through the desktop: the window is what Qt creates it as.
    if (!s || !s->topMost)
        return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    return *s->topMost;
}

void SimulatedDesktop::setWindowRegion(WindowHandle handle, const std::vector<RgnRect>& rects) {
    QWidget& window = widgetOf(handle);
    const QRegion region = RgnRegion::fromRects(rects);
    WidgetState& s = state(window);
    s.region = region;
    ++s.regionSets;
    // The mask is kept by Qt even without a display, so tests that look at
    // the widget itself see the same shape.
    window.setMask(region);
}

void SimulatedDesktop::setForegroundWindow(WindowHandle handle) {
    QWidget& window = widgetOf(handle);
    state(window); // so that destruction clears the foreground reference
    foregroundRequests_.push_back(&window);
    setForegroundWidget(&window);
}

bool SimulatedDesktop::isHiddenFromTaskbar(const QWidget& window) const {
    const WidgetState* s = findState(window);
    return s && s->hiddenFromTaskbar;
}

bool SimulatedDesktop::wasHiddenBeforeShown(const QWidget& window) const {
    const WidgetState* s = findState(window);
    return s && s->hiddenBeforeShown;
}

int SimulatedDesktop::topMostSetCount(const QWidget& window) const {
    const WidgetState* s = findState(window);
    return s ? s->topMostSets : 0;
}

std::optional<QRegion> SimulatedDesktop::windowRegion(const QWidget& window) const {
    const WidgetState* s = findState(window);
    return s ? s->region : std::nullopt;
}

int SimulatedDesktop::regionSetCount(const QWidget& window) const {
    const WidgetState* s = findState(window);
    return s ? s->regionSets : 0;
}

// --- screen, pointer and other windows --------------------------------------

ScreenSize SimulatedDesktop::screenSize() const {
    return screen_;
}
void SimulatedDesktop::setScreenSize(ScreenSize size) {
    screen_ = size;
}
ScreenPoint SimulatedDesktop::cursorPos() const {
    ++reads_.pointer;
    return cursor_;
}

void SimulatedDesktop::setCursorPos(ScreenPoint pos) {
    cursor_ = pos;
    followPointer();
}

void SimulatedDesktop::followPointer() {
    if (!dragging_)
        return;
    const QPoint topLeft = QPoint(cursor_.x, cursor_.y) - dragPress_;
    dragging_->move(topLeft);
    moves_.push_back({dragging_, topLeft.x(), topLeft.y(), true});
}

void SimulatedDesktop::releaseButton() {
    dragging_ = nullptr;
}

std::uintptr_t SimulatedDesktop::addWindow(ScreenRect rect) {
    const std::uintptr_t id = nextWindowId_++;
    windows_.push_back({id, rect});
    return id;
}

void SimulatedDesktop::setWindowRect(std::uintptr_t id, ScreenRect rect) {
    for (Window& w : windows_)
        if (w.id == id)
            w.rect = rect;
}

void SimulatedDesktop::removeWindow(std::uintptr_t id) {
    std::erase_if(windows_, [id](const Window& w) { return w.id == id; });
    if (foregroundId_ == id)
        foregroundId_ = 0;
}

void SimulatedDesktop::raiseWindow(std::uintptr_t id) {
    auto it = std::find_if(windows_.begin(), windows_.end(), [id](const Window& w) { return w.id == id; });
    if (it != windows_.end())
        std::rotate(it, it + 1, windows_.end());
}

void SimulatedDesktop::setForeground(std::uintptr_t id) {
    foregroundWidget_ = nullptr;
    foregroundId_ = id;
}

void SimulatedDesktop::setForegroundWidget(QWidget* window) {
    foregroundId_ = 0;
    foregroundWidget_ = window;
    if (window)
        state(*window);
}

std::optional<ForegroundWindow> SimulatedDesktop::foregroundWindow() const {
    ++reads_.frontWindow;
    if (foregroundWidget_) {
        const QRect g = foregroundWidget_->geometry();
        return ForegroundWindow{reinterpret_cast<std::uintptr_t>(foregroundWidget_),
                                {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()}};
    }
    for (const Window& w : windows_)
        if (w.id == foregroundId_ && foregroundId_ != 0)
            return ForegroundWindow{w.id, w.rect};
    return std::nullopt;
}

std::optional<ScreenRect> SimulatedDesktop::taskbarRect() const {
    ++reads_.panel;
    return taskbar_;
}

// --- nested loops -------------------------------------------------------------

void SimulatedDesktop::dragWindow(WindowHandle window, ScreenPoint pressPoint) {
    dragWindow(widgetOf(window), QPoint(pressPoint.x, pressPoint.y));
}

void SimulatedDesktop::dragWindow(QWidget& window, QPoint pressPoint) {
    DragRecord record{&window, pressPoint, window.pos(), window.pos()};
    QPointer<QWidget> target(&window);
    QPointer<QWidget> outer = dragging_;
    const QPoint outerPress = dragPress_;
    dragging_ = &window;
    dragPress_ = pressPoint;
    if (dragScript_) {
        DragScript script = dragScript_; // the script may replace itself
        script(*this, window, pressPoint);
    }
    dragging_ = outer;
    dragPress_ = outerPress;
    if (target)
        record.endPos = target->pos();
    drags_.push_back(record);
}

int SimulatedDesktop::execModal(ModalDialog& dialog) {
    dialog.beginModal();
    return execModal(QtModalDialog::dialogOf(dialog));
}

int SimulatedDesktop::execModal(QDialog& dialog) {
    dialog.setResult(0);
    dialog.show();
    ModalRecord record{dialog.windowTitle(), dialog.geometry(), 0};
    if (modalScript_) {
        ModalScript script = modalScript_;
        script(*this, dialog);
    }
    // A script that leaves the dialog open has, in effect, closed it with
    // the window's close box.
    if (dialog.isVisible())
        dialog.reject();
    record.result = dialog.result();
    modals_.push_back(record);
    return record.result;
}

void SimulatedDesktop::popupMenu(NativeMenu& menu, ScreenPoint at) {
    popupMenu(QtMenu::widgetOf(menu), QPoint(at.x, at.y));
}

void SimulatedDesktop::popupMenu(QMenu& menu, QPoint at) {
    menus_.push_back({at});
    if (menuScript_) {
        MenuScript script = menuScript_;
        script(*this, menu, at);
    }
}

void SimulatedDesktop::processPendingMessages() {
    ++pendingRuns_;
    QCoreApplication::processEvents();
}

bool SimulatedDesktop::clickButton(QWidget& root, const QString& text) {
    for (QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
        if (withoutMnemonics(button->text()) == text) {
            if (!button->isEnabled())
                return false;
            button->click();
            return true;
        }
    }
    return false;
}

bool SimulatedDesktop::triggerAction(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator() && withoutMnemonics(action->text()) == text) {
            if (!action->isEnabled())
                return false;
            action->trigger();
            return true;
        }
    }
    return false;
}

// --- timers -------------------------------------------------------------------

std::unique_ptr<TimerSource> SimulatedDesktop::createTimer(std::function<void()> onTick) {
    const int id = clock_->nextId++;
    clock_->entries[id].onTick = std::make_shared<std::function<void()>>(std::move(onTick));
    return std::make_unique<SimulatedTimer>(clock_, id);
}

std::int64_t SimulatedDesktop::now() const {
    return clock_->now;
}

void SimulatedDesktop::advance(std::int64_t ms) {
    if (ms < 0)
        return;
    // Keep the clock alive even if a handler replaces this desktop.
    std::shared_ptr<Clock> clock = clock_;
    const std::int64_t target = clock->now + ms;
    for (;;) {
        auto it = clock->nextDue(target);
        if (it == clock->entries.end())
            break;
        Clock::Entry& e = it->second;
        // A handler that advances the clock itself may have moved it past
        // this tick's time already; the tick then happens "now".
        clock->now = std::max(clock->now, e.due);
        // The next tick counts from this one; a restart inside the handler
        // overrides it and counts from the restart.
        e.due = clock->now + e.period;
        std::shared_ptr<std::function<void()>> onTick = e.onTick; // survives the timer's destruction
        if (onTick && *onTick)
            (*onTick)();
    }
    clock->now = std::max(clock->now, target);
}

int SimulatedDesktop::runningTimerCount() const {
    return static_cast<int>(std::count_if(clock_->entries.begin(), clock_->entries.end(),
                                          [](const auto& e) { return e.second.running; }));
}

// --- messages to the user ------------------------------------------------------

std::unique_ptr<NativeMenu> SimulatedDesktop::createMenu() {
    return std::make_unique<QtMenu>();
}

void SimulatedDesktop::showErrorBox(const std::string& title, const std::string& text) {
    errorBoxes_.push_back({QString::fromStdString(title), QString::fromStdString(text)});
}

void SimulatedDesktop::showNotice(const std::string& title, const std::string& text) {
    notices_.push_back({QString::fromStdString(title), QString::fromStdString(text)});
}

// --- notification area and message windows ---------------------------------------

std::uintptr_t SimulatedDesktop::createMessageWindow(MessageHandler handler) {
    const std::uintptr_t id = nextMessageWindow_++;
    messageWindows_[id] = std::make_shared<MessageHandler>(std::move(handler));
    return id;
}

void SimulatedDesktop::destroyMessageWindow(std::uintptr_t window) {
    messageWindows_.erase(window);
}

bool SimulatedDesktop::hasMessageWindow(std::uintptr_t window) const {
    return messageWindows_.count(window) != 0;
}

std::intptr_t SimulatedDesktop::sendMessage(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    auto it = messageWindows_.find(window);
    if (it == messageWindows_.end())
        return 0;
    // The handler may destroy its own window while it runs.
    std::shared_ptr<MessageHandler> handler = it->second;
    return (handler && *handler) ? (*handler)(message, wParam, lParam) : 0;
}

bool SimulatedDesktop::shellNotifyIcon(TrayOperation operation, const NotifyIconData& data) {
    TrayCall call;
    call.operation = operation;
    std::memcpy(&call.data, &data, sizeof data);
    if (const QIcon* icon = iconOf(data.hIcon))
        call.icon = *icon;

    // The tip is read only up to its zero byte and never past the field.
    const char* tipEnd = static_cast<const char*>(std::memchr(data.szTip, 0, sizeof data.szTip));
    std::string tip(data.szTip, tipEnd ? tipEnd : data.szTip + sizeof data.szTip);

    bool ok = false;
    const bool sameIcon = trayIcon_ && trayIcon_->hWnd == data.hWnd && trayIcon_->uID == data.uID;
    if (trayAvailable_ && data.cbSize >= 88) {
        switch (operation) {
        case TrayOperation::NIM_ADD:
            if (!sameIcon && !trayIcon_) {
                trayIcon_ =
                    TrayIconState{data.hWnd, data.uID, data.uCallbackMessage, tip, call.icon, nullptr, {}};
                ok = true;
            }
            break;
        case TrayOperation::NIM_MODIFY:
            if (sameIcon) {
                // Only the parts the flags name change.
                if (data.uFlags & 1)
                    trayIcon_->uCallbackMessage = data.uCallbackMessage;
                if (data.uFlags & 2)
                    trayIcon_->icon = call.icon;
                if (data.uFlags & 4)
                    trayIcon_->tip = tip;
                ok = true;
            }
            break;
        case TrayOperation::NIM_DELETE:
            if (sameIcon) {
                trayIcon_.reset();
                ok = true;
            }
            break;
        }
    }
    call.succeeded = ok;
    trayCalls_.push_back(std::move(call));
    return ok;
}

void SimulatedDesktop::setNotifyIconMenu(std::uintptr_t window, std::uint32_t id, NativeMenu* menu,
                                         std::function<void()> opening) {
    if (trayIcon_ && trayIcon_->hWnd == window && trayIcon_->uID == id) {
        trayIcon_->menu = menu;
        trayIcon_->menuOpening = menu ? std::move(opening) : nullptr;
    }
}

bool SimulatedDesktop::openHostMenu() {
    if (!trayIcon_ || !trayIcon_->menu)
        return false;
    // A copy: the step may change the offered menu.
    const std::function<void()> opening = trayIcon_->menuOpening;
    if (opening)
        opening();
    return true;
}

bool SimulatedDesktop::sendTrayMessage(std::uint32_t mouseMessage) {
    if (!trayIcon_)
        return false;
    const TrayIconState icon = *trayIcon_;
    sendMessage(icon.hWnd, icon.uCallbackMessage, icon.uID, static_cast<std::intptr_t>(mouseMessage));
    return true;
}

// --- the program itself ------------------------------------------------------------

std::string SimulatedDesktop::executablePath() const {
    return executablePath_;
}
std::uint32_t SimulatedDesktop::clockSeed() const {
    return clockSeed_;
}
std::string SimulatedDesktop::userLanguage() const {
    return userLanguage_;
}

bool SimulatedDesktop::claimSession(std::function<void()> comeForward) {
    if (sessionHeldElsewhere_) {
        ++comeForwardRequests_;
        return false;
    }
    comeForward_ = std::move(comeForward);
    return true;
}

void SimulatedDesktop::askToComeForward() {
    if (comeForward_)
        comeForward_();
}

void SimulatedDesktop::clearLogs() {
    moves_.clear();
    moves_.shrink_to_fit();
    foregroundRequests_.clear();
    drags_.clear();
    modals_.clear();
    menus_.clear();
}

void SimulatedDesktop::setFullScreenMonitor(std::optional<ScreenRect> monitor) {
    fullScreenMonitor_ = monitor;
    if (fullScreenWatch_)
        fullScreenWatch_();
}
