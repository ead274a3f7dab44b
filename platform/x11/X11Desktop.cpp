#include "X11Desktop.h"

#include "CompositorFeed.h"
#include "CompositorSelection.h"
#include "LanguageChoice.h"
#include "MascotHolding.h"
#include "PanelFromWorkArea.h"
#include "PointerDrag.h"
#include "QtMenu.h"
#include "QtModalDialog.h"
#include "QtTimerSource.h"
#include "QtWindowHandle.h"
#include "RgnRegion.h"
#include "ScreenSpace.h"
#include "WindowStateKeeper.h"
#include "X11FullScreenWatch.h"
#include "X11MascotWindow.h"
#include "X11SessionClaim.h"
#include "X11TrayArea.h"
#include "XlibBridge.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdlib>

namespace {

constexpr unsigned kQueryEndSession = 17;

bool isMapped(const QWidget& window) {
    return window.isVisible() && window.windowHandle();
}

// A region Qt cannot express as a mask: QWidget::setMask(QRegion()) would
// remove the shape altogether, while an empty window region means that
// nothing of the window shows. One pixel outside the window shows nothing.
QRegion maskFor(const QRegion& region) {
    return region.isEmpty() ? QRegion(-1, -1, 1, 1) : region;
}

ScreenPoint screenPoint(QPoint p) {
    return {p.x(), p.y()};
}

// The whole monitor (the program's coordinates) that a window in the
// server's pixels is on: the one its middle is on, or nothing off every
// monitor.
std::optional<ScreenRect> monitorOf(const ScreenRect& device) {
    const ScreenSpace space = ScreenSpace::current();
    const QPoint middle = space.deviceToLogical(QPoint(device.left + (device.right - device.left) / 2,
                                                       device.top + (device.bottom - device.top) / 2));
    if (const QScreen* screen = QGuiApplication::screenAt(middle))
        return space.logicalToProgram(screen->geometry());
    return std::nullopt;
}

} // namespace

X11Desktop::X11Desktop()
    : tray_(std::make_unique<X11TrayArea>(
          [this](std::uintptr_t window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
              sendMessage(window, message, wParam, lParam);
          })),
      guard_(std::make_unique<QObject>()) {
    // Log-off or shutdown: every message window is asked, as the session
    // end query; the answers do not stop the session here.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(app, &QGuiApplication::commitDataRequest, guard_.get(), [this](QSessionManager&) {
            std::vector<std::uintptr_t> windows;
            for (const auto& entry : messageWindows_)
                windows.push_back(entry.first);
            for (std::uintptr_t w : windows)
                sendMessage(w, kQueryEndSession, 0, 0);
        });
    }
}

X11Desktop::~X11Desktop() = default;

X11MascotWindow* X11Desktop::standIn(const QWidget& window) const {
    auto it = standIns_.find(&window);
    return it == standIns_.end() ? nullptr : it->second.get();
}

void X11Desktop::hideFromTaskbar(WindowHandle handle) {
    QWidget& window = widgetOf(handle);
    // Qt::Tool must be set before the native window exists: changing the
    // flags of an existing window re-creates it.
    if (!window.testAttribute(Qt::WA_WState_Created))
        window.setWindowFlag(Qt::Tool, true);
    // A window of its own with no taskbar or pager entry could not be found
    // again from another workspace: it lives on all of them. A window that
    // belongs to another (a dialog) is left where its window manager puts it.
    WindowStateKeeper& keeper = WindowStateKeeper::of(window);
    keeper.keep("_NET_WM_STATE_SKIP_TASKBAR", true);
    keeper.keep("_NET_WM_STATE_SKIP_PAGER", true);
    if (X11MascotWindow* fast = standIn(window))
        fast->setOnEveryWorkspace();
    else if (!window.parentWidget())
        keeper.keep("_NET_WM_STATE_STICKY", true);
}

void X11Desktop::moveWindow(WindowHandle handle, int left, int top) {
    QWidget& window = widgetOf(handle);
    // The program counts from the primary monitor's corner, Qt from its
    // own origin, and the stand-in window in the server's pixels.
    const ScreenSpace space = ScreenSpace::current();
    const QPoint logical = space.toLogical({left, top});
    window.move(logical);
    if (X11MascotWindow* fast = standIn(window))
        fast->move(space.logicalToDevice(logical), space.scaleAtLogical(logical));
}

ScreenPoint X11Desktop::windowPos(WindowHandle window) const {
    return screenPoint(ScreenSpace::current().toProgram(widgetOf(window).frameGeometry().topLeft()));
}

void X11Desktop::setTopMost(WindowHandle handle, bool on) {
    QWidget& window = widgetOf(handle);
    // The window's keeper is the one record of the state, whoever set it:
    // before the window exists the state is part of how it will be created,
    // later it changes in place, and the window manager's own changes to a
    // window come back to it, on Qt's window or on a stand-in.
    WindowStateKeeper::of(window).keep("_NET_WM_STATE_ABOVE", on, true);
}

bool X11Desktop::isTopMost(WindowHandle handle) const {
    const QWidget& window = widgetOf(handle);
    if (const WindowStateKeeper* keeper = WindowStateKeeper::find(window))
        if (std::optional<bool> above = keeper->state("_NET_WM_STATE_ABOVE"))
            return *above;
    // Never set through the desktop: the window is what Qt creates it as.
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void X11Desktop::setWindowRegion(WindowHandle handle, const std::vector<RgnRect>& rects) {
    QWidget& window = widgetOf(handle);
    const QRegion region = RgnRegion::fromRects(rects);
    // A window shaped before Qt has made its native window is taken over
    // here, once; from then on it never goes through Qt's painting.
    X11MascotWindow* fast = standIn(window);
    if (!fast && window.isWindow() && !window.testAttribute(Qt::WA_WState_Created)) {
        if (auto adopted = X11MascotWindow::adopt(window)) {
            fast = adopted.get();
            // How the compositor is to hold it (MascotHolding has what was
            // measured); X servers' own window managers keep it managed.
            if (onXWayland())
                fast->setHolding(MascotHolding::onXWayland(XlibBridge::windowManagerName()));
            standIns_[&window] = std::move(adopted);
            QObject::connect(&window, &QObject::destroyed, guard_.get(),
                             [this, w = &window] { standIns_.erase(w); });
        }
    }
    if (fast) {
        fast->setRegion(region);
        return;
    }
    // Only a changed shape goes to the X server.
    const QRegion mask = maskFor(region);
    if (window.mask() != mask)
        window.setMask(mask);
}

void X11Desktop::setForegroundWindow(WindowHandle handle) {
    QWidget& window = widgetOf(handle);
    if (X11MascotWindow* fast = standIn(window)) {
        fast->activate();
        return;
    }
    window.raise();
    window.activateWindow();
    // Window managers may refuse the activation Qt asks for (focus stealing
    // prevention); a pager-style request is honoured.
    if (isMapped(window))
        XlibBridge::activate(window.winId());
}

ScreenSize X11Desktop::screenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize size = screen->geometry().size();
    return {size.width(), size.height()};
}

const CompositorReport* X11Desktop::compositorReport() const {
    onXWayland(); // chooses the feed
    return compositor_ ? &compositor_->report() : nullptr;
}

ScreenPoint X11Desktop::cursorPos() const {
    // The compositor knows the pointer over every window, native ones too;
    // its pixels are XWayland's.
    if (const CompositorReport* report = compositorReport(); report && report->pointer)
        return screenPoint(
            ScreenSpace::current().deviceToProgram(QPoint(report->pointer->x, report->pointer->y)));
    // Asked on the mascot's own connection when there is one, so that the
    // tick's one round trip does not wake Qt's event thread.
    if (!standIns_.empty())
        if (auto pointer = standIns_.begin()->second->pointer())
            return screenPoint(ScreenSpace::current().deviceToProgram(pointer->pos));
    return screenPoint(ScreenSpace::current().toProgram(QCursor::pos()));
}

std::optional<ForegroundWindow> X11Desktop::foregroundWindow() const {
    const ScreenSpace space = ScreenSpace::current();
    if (const CompositorReport* report = compositorReport(); report && report->frontWindowKnown) {
        if (!report->frontWindow)
            return std::nullopt;
        const CompositorReport::Window& w = *report->frontWindow;
        ForegroundWindow front{static_cast<std::uintptr_t>(w.id), space.deviceToProgram(w.frame)};
        // As below: the program knows its own mascot window by the form's
        // rectangle. The helper only says that the window is the program's;
        // a dialog or a notice in front is one to walk on, as on X11, and
        // the mascot's X window is told from them by its size (its place
        // may lag a tick behind the moves).
        if (w.ownWindow)
            for (const auto& [widget, fast] : standIns_)
                if (const QSize size = fast->windowSize(); size.width() == w.frame.right - w.frame.left &&
                                                           size.height() == w.frame.bottom - w.frame.top)
                    front.rect = space.logicalToProgram(widget->frameGeometry());
        return front;
    }
    std::optional<ForegroundWindow> front = XlibBridge::activeWindow();
    if (!front)
        return front;
    // A stand-in covers only its form's outline, not the form: the caller
    // knows its own window in front by the form's rectangle (mode 4 wanders
    // instead of climbing onto itself).
    for (const auto& [widget, fast] : standIns_) {
        if (fast->id() == front->id) {
            front->rect = space.logicalToProgram(widget->frameGeometry());
            return front;
        }
    }
    // Xlib reports device pixels.
    front->rect = space.deviceToProgram(front->rect);
    return front;
}

std::optional<ScreenRect> X11Desktop::taskbarRect() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    const ScreenSpace space = ScreenSpace::current();
    // A compositor's own bar is no X11 window: the edge its work area
    // leaves out is the panel.
    if (const CompositorReport* report = compositorReport(); report && report->workArea) {
        if (auto panel = PanelFromWorkArea::find(space.primaryDevice(), *report->workArea))
            return space.deviceToProgram(*panel);
        return std::nullopt;
    }
    if (auto dock = XlibBridge::dockRect(space.primaryDevice()))
        return space.deviceToProgram(*dock);
    // No dock window found: the edge the work area leaves out.
    return PanelFromWorkArea::find(space.logicalToProgram(screen->geometry()),
                                   space.logicalToProgram(screen->availableGeometry()));
}

bool X11Desktop::onXWayland() const {
    // What matters is the X server the program talks to, not the session's
    // variables: an Xvfb or an ssh -X display opened from a Wayland session
    // keeps nothing from its clients, and XWayland keeps the same whoever
    // started the program. XWayland names its outputs XWAYLAND0, XWAYLAND1, ...
    if (!xwayland_) {
        bool xwayland = XlibBridge::serverOffersXWayland();
        for (const QScreen* screen : QGuiApplication::screens())
            xwayland = xwayland || screen->name().startsWith(QLatin1String("XWAYLAND"));
        xwayland_ = xwayland;
        // The compositor's feed is chosen at the same time, once.
        if (xwayland)
            compositor_ = CompositorSelection::choose([] { return ScreenSpace::current().allDevice(); });
    }
    return *xwayland_;
}

std::optional<ScreenRect> X11Desktop::fullScreenMonitor() const {
    // On a compositor that reports the front window, its word covers native
    // windows too, which XWayland never sees.
    if (const CompositorReport* report = compositorReport(); report && report->frontWindowKnown) {
        if (!report->frontWindow || !report->frontWindow->fullScreen)
            return std::nullopt;
        return monitorOf(report->frontWindow->frame);
    }
    if (!fullScreen_)
        return std::nullopt;
    const std::optional<QRect> window = fullScreen_->fullScreenWindow();
    if (!window)
        return std::nullopt;
    return monitorOf(ScreenRect{window->left(), window->top(), window->right() + 1, window->bottom() + 1});
}

void X11Desktop::watchFullScreen(std::function<void()> changed) {
    fullScreenChanged_ = std::move(changed);
    if (!fullScreen_)
        fullScreen_ = X11FullScreenWatch::open([this] {
            if (fullScreenChanged_)
                fullScreenChanged_();
        });
}

SessionLimits X11Desktop::sessionLimits() const {
    if (!onXWayland())
        return SessionLimits{};
    // What the compositor tells through a helper it no longer keeps.
    return compositor_ ? compositor_->limits() : SessionLimits{true, true};
}

void X11Desktop::dragWindow(WindowHandle window, ScreenPoint pressPoint) {
    dragWindow(widgetOf(window), QPoint(pressPoint.x, pressPoint.y));
}

void X11Desktop::dragWindow(QWidget& window, QPoint pressPoint) {
    // The nested event loops may end with the window gone.
    QPointer<QWidget> alive(&window);
    if (X11MascotWindow* fast = standIn(window)) {
        std::optional<ScreenSpace::Placement> last;
        const auto follow = [&window, fast, pressPoint, &last](QPoint pointer) {
            // The server's pointer, in its pixels: the pressed point stays
            // under it at the scale the window is drawn at there, also
            // across a border between monitors of different scales.
            const ScreenSpace space = ScreenSpace::current();
            const ScreenSpace::Placement to = space.dragCorner(pointer, pressPoint);
            if (last && last->device == to.device && last->scale == to.scale)
                return;
            last = to;
            window.move(space.deviceToLogical(to.device));
            fast->move(to.device, to.scale);
        };
        // A click that moved nothing asks the compositor nothing.
        const QPoint before = window.pos();
        fast->drag(follow);
        if (alive && window.pos() != before)
            takeLastStep([&](QPoint device) {
                if (alive)
                    follow(device);
            });
        return;
    }
    const QPoint before = window.pos();
    PointerDrag drag(window, pressPoint);
    drag.run();
    if (alive && alive->pos() != before)
        takeLastStep([&](QPoint device) {
            if (alive)
                alive->move(ScreenSpace::current().deviceToLogical(device) - pressPoint);
        });
}

void X11Desktop::takeLastStep(const std::function<void(QPoint)>& follow) {
    if (!onXWayland() || !compositor_)
        return;
    // XWayland may not have heard of the drag's last motion. sway is asked
    // to send it again; GNOME Shell and KWin report the pointer themselves,
    // a moment after it moved.
    const bool repeated = compositor_->repeatPointer();
    if (!repeated && !compositor_->report().pointer)
        return;
    // sway's repeated motion and the helper's next report come over their
    // own connections: a moment with the event loop running, never a hang.
    QEventLoop wait;
    QTimer::singleShot(kLastStepWaitMs, &wait, &QEventLoop::quit);
    wait.exec();
    const auto now = XlibBridge::pointer();
    // A button down again is the start of something new.
    if (!now || now->leftDown)
        return;
    // The compositor's own pointer, where it tells it, is the truth: the
    // X server's, and the release's place with it, may still lack the last
    // motion (Mutter 48 leaves it out when the window has moved by the
    // same step, as the drag makes it do).
    if (const auto& reported = compositor_->report().pointer)
        follow(QPoint(reported->x, reported->y));
    else
        follow(now->pos);
}

int X11Desktop::execModal(ModalDialog& dialog) {
    return QtModalDialog::dialogOf(dialog).exec();
}

void X11Desktop::popupMenu(NativeMenu& menu, ScreenPoint at) {
    // The chosen action's handler runs inside exec.
    QtMenu::widgetOf(menu).exec(ScreenSpace::current().toLogical(QPoint(at.x, at.y)));
}

void X11Desktop::processPendingMessages() {
    QCoreApplication::processEvents();
}

std::unique_ptr<TimerSource> X11Desktop::createTimer(std::function<void()> onTick) {
    return std::make_unique<QtTimerSource>(std::move(onTick));
}

std::unique_ptr<NativeMenu> X11Desktop::createMenu() {
    return std::make_unique<QtMenu>();
}

void X11Desktop::showErrorBox(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.exec();
}

void X11Desktop::showNotice(const std::string& title, const std::string& text) {
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromStdString(title),
                                QString::fromStdString(text), QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

bool X11Desktop::notificationAreaAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

std::uintptr_t X11Desktop::createMessageWindow(MessageHandler handler) {
    const std::uintptr_t id = nextMessageWindow_++;
    messageWindows_[id] = std::make_shared<MessageHandler>(std::move(handler));
    return id;
}

void X11Desktop::destroyMessageWindow(std::uintptr_t window) {
    tray_->forgetWindow(window);
    messageWindows_.erase(window);
}

std::intptr_t X11Desktop::sendMessage(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
    auto it = messageWindows_.find(window);
    if (it == messageWindows_.end())
        return 0;
    std::shared_ptr<MessageHandler> handler = it->second; // the handler may destroy its window
    return (handler && *handler) ? (*handler)(message, wParam, lParam) : 0;
}

bool X11Desktop::shellNotifyIcon(TrayOperation operation, const NotifyIconData& data) {
    if (messageWindows_.count(data.hWnd) == 0)
        return false;
    return tray_->notify(operation, data);
}

void X11Desktop::setNotifyIconMenu(std::uintptr_t window, std::uint32_t id, NativeMenu* menu,
                                   std::function<void()> opening) {
    tray_->setMenu(window, id, QtMenu::widgetOf(menu), std::move(opening));
}

QSystemTrayIcon* X11Desktop::trayIcon(std::uintptr_t window, std::uint32_t id) const {
    return tray_->icon(window, id);
}

std::string X11Desktop::executablePath() const {
    return QCoreApplication::applicationFilePath().toStdString();
}

bool X11Desktop::claimSession(std::function<void()> comeForward) {
    std::unique_ptr<X11SessionClaim> claim = X11SessionClaim::claim(std::move(comeForward));
    if (!claim)
        return true;
    if (!claim->owned())
        return false;
    sessionClaim_ = std::move(claim);
    return true;
}

std::uint32_t X11Desktop::clockSeed() const {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

std::string X11Desktop::userLanguage() const {
    return LanguageChoice::fromEnvironment(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                           std::getenv("LANG"), std::getenv("LANGUAGE"));
}
