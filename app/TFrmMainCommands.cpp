// The user's commands on the mascot: the drag with the left button and the
// tray menu's settings, about and exit items, with the rule that places the
// dialogs beside the taskbar.

#include "TFrmMain.h"

#include <QEvent>
#include <QMargins>
#include <QWidget>
#include <QWindow>

#include <memory>
#include <utility>

#include "DesktopServices.h"
#include "QtWindowHandle.h"
#include "TFrmSettei.h"
#include "TFrmVer.h"
#include "TTimer.h"

namespace {

// Dialogs keep this far from the screen's edges and the taskbar.
constexpr int kDialogGap = 30;

// The window manager's frame around the last dialog that was shown. A
// dialog's frame becomes known only once the window manager has framed it,
// which is after it has been placed; until then the previous dialog's frame
// is the best estimate (dialogs share one border style).
QMargins lastFrameMargins;

// The frame as the platform reports it; empty while it is not known. Before
// the window manager has finished framing a window the platform can report
// nonsense (negative widths); that counts as not known yet.
QMargins frameMarginsOf(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    if (!handle)
        return {};
    const QMargins m = handle->frameMargins();
    if (m.left() < 0 || m.top() < 0 || m.right() < 0 || m.bottom() < 0)
        return {};
    return m;
}

// Sets Top, then Left, for a dialog whose frame is `margins`.
void placeDialog(Form& dialog, const QMargins& margins) {
    const QSize outer = dialog.size().grownBy(margins);
    const ScreenPoint place = TFrmMain::PlaceNearTaskbar(outer.width(), outer.height());
    dialog.setTop(place.y);
    dialog.setLeft(place.x);
}

// Watches a dialog's native window until the window manager has framed it
// (it has by the time the window is first exposed). If the frame turns out
// different from the estimate the dialog was placed with (the first dialog
// of a run has nothing to go by), the dialog is placed again, once, so that
// its outer corner keeps its distance from the screen's corner. Later moves
// are the user's. The watcher belongs to the native window and goes with it.
class FrameWatcher : public QObject {
public:
    FrameWatcher(Form& dialog, QWindow& handle, QMargins estimate)
        : QObject(&handle), dialog_(dialog), estimate_(estimate) {
        handle.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type == QEvent::Expose || type == QEvent::Move || type == QEvent::Resize) {
            const QMargins actual = frameMarginsOf(dialog_);
            if (!actual.isNull()) {
                watched->removeEventFilter(this);
                lastFrameMargins = actual;
                if (actual != estimate_) {
                    // Straight to the native window: the widget's own idea of
                    // its frame may still be the estimate at this point.
                    const QSize outer = dialog_.size().grownBy(actual);
                    // The native window counts from Qt's origin, which is
                    // not the program's when the primary monitor is not the
                    // leftmost one.
                    const ScreenPoint inProgram = desktopWindows().windowPos(handleOf(dialog_));
                    const QPoint toNative =
                        dialog_.frameGeometry().topLeft() - QPoint(inProgram.x, inProgram.y);
                    const ScreenPoint place = TFrmMain::PlaceNearTaskbar(outer.width(), outer.height());
                    static_cast<QWindow*>(watched)->setFramePosition(QPoint(place.x, place.y) + toNative);
                }
                deleteLater();
            }
        }
        return false;
    }

private:
    Form& dialog_;
    QMargins estimate_;
};

void correctPlacementWhenFramed(Form& dialog, const QMargins& estimate) {
    if (QWindow* handle = dialog.windowHandle())
        new FrameWatcher(dialog, *handle, estimate);
}

// Creates (with `args`), places, shows modally and releases one dialog; the
// global pointer holds it while it is open. A second command while it is open
// brings that dialog to the front instead of opening another: the tray menu
// stays reachable while a dialog is modal.
template <typename Dialog, typename... Args>
void showDialog(TFrmMain& mascot, Dialog*& global, Args&&... args) {
    if (global) {
        desktopWindows().setForegroundWindow(handleOf(*global));
        return;
    }
    auto dialog = std::make_unique<Dialog>(std::forward<Args>(args)...);
    global = dialog.get();
    // Modal to the mascot window only: the character cannot be dragged
    // while the dialog is open, but the tray icon and its menu stay
    // reachable, as they are on the desktop the program was designed for.
    // The dialog stays a window of its own, released here, long before the
    // mascot window goes.
    dialog->setParent(&mascot, dialog->windowFlags());
    dialog->setWindowModality(Qt::WindowModal);
    // The program has no taskbar button, and its dialogs get none either.
    desktopWindows().hideFromTaskbar(handleOf(*dialog));
    // The native window exists from here on, so a desktop that can tell
    // its frame before showing it does.
    dialog->winId();
    const QMargins known = frameMarginsOf(*dialog);
    const QMargins estimate = known.isNull() ? lastFrameMargins : known;
    placeDialog(*dialog, estimate);
    if (known.isNull())
        correctPlacementWhenFramed(*dialog, estimate);
    // The dialog does its own work (OK stores and applies the settings), so
    // the modal result is not needed here.
    desktopLoops().execModal(*dialog);
    global = nullptr;
}

} // namespace

void TFrmMain::Rgn1MouseDown(Component*, TMouseButton, TShiftState Shift, int X, int Y) {
    // The held-button set decides, not the button that went down.
    if ((Shift & ::Shift::ssLeft) == 0)
        return;
    // No movement tick may move the window under the pointer; a pause in
    // progress goes on beating on Timer2.
    Timer1->setInterval(0);
    desktopLoops().dragWindow(*this, QPoint(X, Y));
    // Ends any pause and restarts Timer1 with a fresh countdown, also after
    // a press that did not move the window at all.
    ApplySettings();
}

void TFrmMain::Rgn1DblClick(Component*) {
    // A double-click acts only through its presses (Rgn1MouseDown).
}

void TFrmMain::N2Click(Component*) {
    // OK in the dialog re-applies the stored settings on this window.
    showDialog(*this, FrmSettei, [this] { ApplySettings(); });
}

void TFrmMain::N3Click(Component*) {
    showDialog(*this, FrmVer);
}

void TFrmMain::Exit1Click(Component*) {
    // Closing the main window ends the program; nothing is saved.
    close();
}

ScreenPoint TFrmMain::PlaceNearTaskbar(int w, int h) {
    ScreenRect taskbar;
    const TaskbarEdge side = TaskbarSide(taskbar);
    const ScreenSize screen = desktopQueries().screenSize();
    const int SW = screen.width;
    const int SH = screen.height;
    switch (side) {
    case TaskbarEdge::Top:
        return {SW - w - kDialogGap, taskbar.bottom + kDialogGap};
    case TaskbarEdge::Right:
        return {taskbar.left - w - kDialogGap, SH - h - kDialogGap};
    case TaskbarEdge::Left:
        return {taskbar.right + kDialogGap, SH - h - kDialogGap};
    case TaskbarEdge::Bottom:
        break;
    }
    return {SW - w - kDialogGap, taskbar.top - h - kDialogGap};
}
