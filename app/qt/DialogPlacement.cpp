// Placing the dialogs with Qt: the window manager frames a dialog only once
// it is shown, so its outer size is estimated until then and corrected once.

#include "DialogPlacement.h"

#include <QEvent>
#include <QMargins>
#include <QWidget>
#include <QWindow>

#include "DesktopServices.h"
#include "Form.h"
#include "QtWindowHandle.h"

namespace {

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
void placeDialog(Form& dialog, const QMargins& margins, DialogPlacement::PlaceRule place) {
    const QSize outer = dialog.size().grownBy(margins);
    const ScreenPoint at = place(outer.width(), outer.height());
    dialog.setTop(at.y);
    dialog.setLeft(at.x);
}

// Watches a dialog's native window until the window manager has framed it
// (it has by the time the window is first exposed). If the frame turns out
// different from the estimate the dialog was placed with (the first dialog
// of a run has nothing to go by), the dialog is placed again, once, so that
// its outer corner keeps its distance from the screen's corner. Later moves
// are the user's. The watcher belongs to the native window and goes with it.
class FrameWatcher : public QObject {
public:
    FrameWatcher(Form& dialog, QWindow& handle, QMargins estimate, DialogPlacement::PlaceRule place)
        : QObject(&handle), dialog_(dialog), estimate_(estimate), place_(place) {
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
                    const ScreenPoint at = place_(outer.width(), outer.height());
                    static_cast<QWindow*>(watched)->setFramePosition(QPoint(at.x, at.y) + toNative);
                }
                deleteLater();
            }
        }
        return false;
    }

private:
    Form& dialog_;
    QMargins estimate_;
    DialogPlacement::PlaceRule place_;
};

} // namespace

namespace DialogPlacement {

void prepareModal(Form& dialog, Form& mascot, PlaceRule place) {
    // Modal to the mascot window only: the character cannot be dragged
    // while the dialog is open, but the tray icon and its menu stay
    // reachable, as they are on the desktop the program was designed for.
    // The dialog stays a window of its own, released by its opener, long
    // before the mascot window goes.
    dialog.setParent(&mascot, dialog.windowFlags());
    dialog.setWindowModality(Qt::WindowModal);
    // The program has no taskbar button, and its dialogs get none either.
    desktopWindows().hideFromTaskbar(handleOf(dialog));
    // The native window exists from here on, so a desktop that can tell
    // its frame before showing it does.
    dialog.winId();
    const QMargins known = frameMarginsOf(dialog);
    const QMargins estimate = known.isNull() ? lastFrameMargins : known;
    placeDialog(dialog, estimate, place);
    if (known.isNull()) {
        if (QWindow* handle = dialog.windowHandle())
            new FrameWatcher(dialog, *handle, estimate, place);
    }
}

void bringForward(Form& dialog) {
    desktopWindows().setForegroundWindow(handleOf(dialog));
}

} // namespace DialogPlacement
