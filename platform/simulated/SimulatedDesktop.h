#pragma once

#include "DesktopServices.h"

#include <QIcon>
#include <QPointer>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QAbstractButton;
class QDialog;
class QMenu;
class QWidget;
class QAction;

// A desktop that exists only in memory, for tests. Everything the program asks
// of it is recorded, the clock only moves when the test calls advance(), and
// the nested loops (drag, modal dialog, popup menu) run scripts the test hands
// in instead of waiting for a user.
class SimulatedDesktop : public DesktopServices {
public:
    // A window of some other program, known by its outer rectangle.
    struct Window {
        std::uintptr_t id = 0;
        ScreenRect rect;
    };
    struct MoveRecord {
        const QWidget* window = nullptr;
        int left = 0, top = 0;
        bool byDrag = false; // moved by following the pointer during dragWindow
    };
    struct DragRecord {
        const QWidget* window = nullptr;
        QPoint pressPoint;
        QPoint startPos; // window position when the drag began
        QPoint endPos;   // and when it returned
    };
    struct ModalRecord {
        QString title;  // window title of the dialog when it was shown
        QRect geometry; // its geometry when it was shown
        int result = 0; // what execModal returned
    };
    struct MenuRecord {
        QPoint at;
    };
    struct ErrorBox {
        QString title, text;
    };
    struct TrayCall {
        TrayOperation operation = TrayOperation::NIM_ADD;
        NotifyIconData data; // byte copy; data.hIcon may dangle later, use icon
        QIcon icon;          // copy of the icon data.hIcon named (null icon when none)
        bool succeeded = false;
    };
    // The icon as the notification area shows it now.
    struct TrayIconState {
        std::uintptr_t hWnd = 0;
        std::uint32_t uID = 0;
        std::uint32_t uCallbackMessage = 0;
        std::string tip; // text up to the first zero byte of szTip
        QIcon icon;
        NativeMenu* menu = nullptr; // the menu offered to hosts that draw it
        std::function<void()> menuOpening;
    };

    using DragScript = std::function<void(SimulatedDesktop&, QWidget& window, QPoint pressPoint)>;
    using ModalScript = std::function<void(SimulatedDesktop&, QDialog& dialog)>;
    using MenuScript = std::function<void(SimulatedDesktop&, QMenu& menu, QPoint at)>;

    SimulatedDesktop();
    ~SimulatedDesktop() override;

    // --- DesktopServices ---
    void hideFromTaskbar(WindowHandle window) override;
    void moveWindow(WindowHandle window, int left, int top) override;
    ScreenPoint windowPos(WindowHandle window) const override;
    void setTopMost(WindowHandle window, bool on) override;
    bool isTopMost(WindowHandle window) const override;
    void setWindowRegion(WindowHandle window, const std::vector<RgnRect>& region) override;
    void setForegroundWindow(WindowHandle window) override;
    ScreenSize screenSize() const override;
    ScreenPoint cursorPos() const override;
    std::optional<ForegroundWindow> foregroundWindow() const override;
    std::optional<ScreenRect> taskbarRect() const override;
    SessionLimits sessionLimits() const override { return sessionLimits_; }
    std::optional<ScreenRect> fullScreenMonitor() const override { return fullScreenMonitor_; }
    void watchFullScreen(std::function<void()> changed) override { fullScreenWatch_ = std::move(changed); }
    void dragWindow(WindowHandle window, ScreenPoint pressPoint) override;
    int execModal(ModalDialog& dialog) override;
    void popupMenu(NativeMenu& menu, ScreenPoint at) override;
    void processPendingMessages() override;
    std::unique_ptr<TimerSource> createTimer(std::function<void()> onTick) override;
    std::unique_ptr<NativeMenu> createMenu() override;
    void showErrorBox(const std::string& title, const std::string& text) override;
    void showNotice(const std::string& title, const std::string& text) override;
    bool notificationAreaAvailable() const override { return trayAvailable_; }
    std::uintptr_t createMessageWindow(MessageHandler handler) override;
    void destroyMessageWindow(std::uintptr_t window) override;
    bool shellNotifyIcon(TrayOperation operation, const NotifyIconData& data) override;
    void setNotifyIconMenu(std::uintptr_t window, std::uint32_t id, NativeMenu* menu,
                           std::function<void()> opening) override;
    std::string executablePath() const override;
    std::uint32_t clockSeed() const override;
    bool claimSession(std::function<void()> comeForward) override;
    std::string userLanguage() const override;

    // The same loops for Qt's own widgets, dialogs and menus.
    void dragWindow(QWidget& window, QPoint pressPoint);
    int execModal(QDialog& dialog);
    void popupMenu(QMenu& menu, QPoint at);

    // --- screen and pointer ---
    void setScreenSize(ScreenSize size);
    // Moves the pointer. During dragWindow the dragged window follows it
    // (window position = pointer - press point) until releaseButton().
    void setCursorPos(ScreenPoint pos);
    // Ends the drag in progress: the pointer no longer carries the window.
    // dragWindow returns when its script returns.
    void releaseButton();
    bool isDragging() const { return !dragging_.isNull(); }

    // --- other programs' windows, bottom first ---
    std::uintptr_t addWindow(ScreenRect rect); // placed on top of the others
    void setWindowRect(std::uintptr_t id, ScreenRect rect);
    void removeWindow(std::uintptr_t id); // also stops it being the foreground one
    void raiseWindow(std::uintptr_t id);
    const std::vector<Window>& windows() const { return windows_; }
    // The foreground window: one of windows() by id, 0 for none.
    void setForeground(std::uintptr_t id);
    // The program's own window in front; its rectangle is the widget's geometry.
    void setForegroundWidget(QWidget* window);
    void clearForeground() { setForeground(0); }
    // Nothing = the taskbar query fails. Default: bottom, 0,738,1024,768.
    void setTaskbarRect(std::optional<ScreenRect> rect) { taskbar_ = rect; }
    // Plays a session that keeps things from the program (a Wayland one).
    void setSessionLimits(SessionLimits limits) { sessionLimits_ = limits; }
    // Plays the front window filling a monitor in full screen (nothing: it
    // is not full screen), and reports the change to the watcher at once,
    // as a desktop that hears of it does.
    void setFullScreenMonitor(std::optional<ScreenRect> monitor);

    // --- what the program did to its own windows ---
    bool isHiddenFromTaskbar(const QWidget& window) const;
    // True when hideFromTaskbar came while the window was not yet visible.
    bool wasHiddenBeforeShown(const QWidget& window) const;
    // The top-most state as isTopMost answers it for the window's handle.
    bool isTopMost(const QWidget& window) const;
    int topMostSetCount(const QWidget& window) const; // setTopMost calls
    // The window manager changes a window's top-most state on its own (the
    // user switched "always on top" from outside); not a setTopMost call.
    void windowManagerSetsTopMost(QWidget& window, bool on) { state(window).topMost = on; }
    std::optional<QRegion> windowRegion(const QWidget& window) const; // last one set
    int regionSetCount(const QWidget& window) const;
    const std::vector<MoveRecord>& moves() const { return moves_; }
    // Forgets the logs of moves, drags, dialogs, menus and foreground
    // requests, so a long run measures the program and not the records.
    void clearLogs();
    // Widgets passed to setForegroundWindow, in call order.
    const std::vector<const QWidget*>& foregroundRequests() const { return foregroundRequests_; }
    const std::vector<DragRecord>& drags() const { return drags_; }
    const std::vector<ModalRecord>& modals() const { return modals_; }
    const std::vector<MenuRecord>& menus() const { return menus_; }
    const std::vector<ErrorBox>& errorBoxes() const { return errorBoxes_; }
    const std::vector<ErrorBox>& notices() const { return notices_; }
    int pendingMessageRuns() const { return pendingRuns_; }
    // How often the program asked for the pointer, the front window and the
    // panel since the last clearReads.
    struct Reads {
        int pointer = 0;
        int frontWindow = 0;
        int panel = 0;
    };
    const Reads& reads() const { return reads_; }
    void clearReads() { reads_ = {}; }

    // --- clock and timers ---
    std::int64_t now() const; // ms since construction
    // Moves the clock forward by ms, firing every tick that falls due on the
    // way in time order, one at a time. A handler may start, stop, restart or
    // destroy timers (its own included) and even advance the clock itself.
    void advance(std::int64_t ms);
    int runningTimerCount() const;

    // --- nested loops ---
    // Default drag: release at once. Default modal: reject at once. Default
    // menu: close at once without choosing. Scripts stay until replaced;
    // pass an empty function to go back to the default.
    void setDragScript(DragScript script) { dragScript_ = std::move(script); }
    void setModalScript(ModalScript script) { modalScript_ = std::move(script); }
    void setMenuScript(MenuScript script) { menuScript_ = std::move(script); }
    // Helpers for scripts: click the first button (depth-first) whose text,
    // without '&' marks, equals text; trigger the first menu action likewise.
    // False when there is none or it is disabled.
    static bool clickButton(QWidget& root, const QString& text);
    static bool triggerAction(QMenu& menu, const QString& text);

    // --- notification area and message windows ---
    const std::vector<TrayCall>& trayCalls() const { return trayCalls_; }
    const std::optional<TrayIconState>& trayIcon() const { return trayIcon_; }
    // False: every shellNotifyIcon call fails (no notification area).
    void setTrayAvailable(bool available) { trayAvailable_ = available; }
    // Sends the icon's callback (uCallbackMessage, uID, mouseMessage) to the
    // icon's message window, as a mouse action on the icon does. False when
    // no icon is shown.
    bool sendTrayMessage(std::uint32_t mouseMessage);
    // A host that draws the icon's menu itself opens the offered menu: what
    // the program asked to run first runs. False when no menu is offered.
    bool openHostMenu();
    // Delivers a message to a message window; 0 when there is no such window.
    std::intptr_t sendMessage(std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam);
    bool hasMessageWindow(std::uintptr_t window) const;
    std::size_t messageWindowCount() const { return messageWindows_.size(); }

    // --- the program itself ---
    // Default: a path in a directory that does not exist, so that a test
    // that forgets to set it cannot write beside the test binary.
    void setExecutablePath(std::string path) { executablePath_ = std::move(path); }
    void setClockSeed(std::uint32_t seed) { clockSeed_ = seed; }
    // Another program holds the session: claimSession answers false and
    // counts a request to come forward.
    void setSessionHeldElsewhere(bool held) { sessionHeldElsewhere_ = held; }
    int comeForwardRequests() const { return comeForwardRequests_; }
    // A later start asks the program that claimed the session to come
    // forward.
    void askToComeForward();
    void setUserLanguage(std::string code) { userLanguage_ = std::move(code); }

    // The scheduler behind createTimer(); shared with the timers it made so
    // that a timer outliving its desktop stays harmless.
    class Clock;

private:
    struct WidgetState {
        bool hiddenFromTaskbar = false;
        bool hiddenBeforeShown = false;
        std::optional<bool> topMost; // nothing: as the window was created
        int topMostSets = 0;
        std::optional<QRegion> region;
        int regionSets = 0;
    };
    WidgetState& state(QWidget& window);
    const WidgetState* findState(const QWidget& window) const;
    void followPointer();

    ScreenSize screen_{1024, 768};
    ScreenPoint cursor_;
    std::vector<Window> windows_;
    std::uintptr_t nextWindowId_ = 0x10000;
    std::uintptr_t foregroundId_ = 0;
    const QWidget* foregroundWidget_ = nullptr;
    std::optional<ScreenRect> taskbar_ = ScreenRect{0, 738, 1024, 768};
    SessionLimits sessionLimits_;
    std::optional<ScreenRect> fullScreenMonitor_;
    std::function<void()> fullScreenWatch_;
    mutable Reads reads_;

    std::map<const QWidget*, WidgetState> widgets_;
    std::vector<MoveRecord> moves_;
    std::vector<const QWidget*> foregroundRequests_;
    std::vector<DragRecord> drags_;
    std::vector<ModalRecord> modals_;
    std::vector<MenuRecord> menus_;
    std::vector<ErrorBox> errorBoxes_;
    std::vector<ErrorBox> notices_;
    int pendingRuns_ = 0;

    QPointer<QWidget> dragging_;
    QPoint dragPress_;

    std::shared_ptr<Clock> clock_;
    // Receiver for the widgets' destroyed() signals, so that records of a
    // destroyed widget never outlive it and never outlive this desktop.
    std::unique_ptr<QObject> guard_;

    DragScript dragScript_;
    ModalScript modalScript_;
    MenuScript menuScript_;

    std::vector<TrayCall> trayCalls_;
    std::optional<TrayIconState> trayIcon_;
    bool trayAvailable_ = true;
    std::map<std::uintptr_t, std::shared_ptr<MessageHandler>> messageWindows_;
    std::uintptr_t nextMessageWindow_ = 0x20000;

    std::string executablePath_ = "/nonexistent-kuvito-dir/kuvito";
    std::uint32_t clockSeed_ = 12345;
    bool sessionHeldElsewhere_ = false;
    int comeForwardRequests_ = 0;
    std::function<void()> comeForward_;
    std::string userLanguage_ = "ja";
};
