// The user's commands on the mascot: the drag with the left button and the
// tray menu's settings, about and exit items, with the rule that places the
// dialogs beside the taskbar.

#include "TFrmMain.h"

#include <QMargins>
#include <QWidget>

#include <memory>

#include "DesktopServices.h"
#include "TFrmSettei.h"
#include "TFrmVer.h"
#include "TTimer.h"

namespace {

// Dialogs keep this far from the screen's edges and the taskbar.
constexpr int kDialogGap = 30;

// The window manager's frame around the last dialog that was shown. A
// dialog's frame becomes known only once the window manager has framed it,
// which is after it is placed; the previous dialog's frame is the best
// estimate until then (dialogs share one border style).
QMargins lastFrameMargins;

QMargins frameMarginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

// The outer size of a dialog that has not been shown yet: its frame if the
// desktop already knows it, else the last dialog's frame around its client
// area.
QSize outerSize(QWidget& dialog) {
    dialog.winId();
    const QMargins margins = frameMarginsOf(dialog);
    const QMargins used = margins.isNull() ? lastFrameMargins : margins;
    return dialog.size().grownBy(used);
}

void rememberFrame(const QWidget& dialog) {
    const QMargins margins = frameMarginsOf(dialog);
    if (!margins.isNull())
        lastFrameMargins = margins;
}

// Creates, places, shows modally and releases one dialog; the global
// pointer holds it while it is open. A second command while it is open
// brings that dialog to the front instead of opening another: the tray menu
// stays reachable while a dialog is modal.
template <typename Dialog> void showDialog(Dialog*& global) {
    if (global) {
        desktop().setForegroundWindow(*global);
        return;
    }
    auto dialog = std::make_unique<Dialog>(nullptr);
    global = dialog.get();
    const QSize outer = outerSize(*dialog);
    const QPoint place = TFrmMain::PlaceNearTaskbar(outer.width(), outer.height());
    dialog->setTop(place.y());
    dialog->setLeft(place.x());
    // The dialog does its own work (OK stores and applies the settings), so
    // the modal result is not needed here.
    desktop().execModal(*dialog);
    rememberFrame(*dialog);
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
    desktop().dragWindow(*this, QPoint(X, Y));
    // Ends any pause and restarts Timer1 with a fresh countdown, also after
    // a press that did not move the window at all.
    ApplySettings();
}

void TFrmMain::Rgn1DblClick(Component*) {
    // A double-click acts only through its presses (Rgn1MouseDown).
}

void TFrmMain::N2Click(Component*) {
    showDialog(FrmSettei);
}

void TFrmMain::N3Click(Component*) {
    showDialog(FrmVer);
}

void TFrmMain::Exit1Click(Component*) {
    // Closing the main window ends the program; nothing is saved.
    close();
}

QPoint TFrmMain::PlaceNearTaskbar(int w, int h) {
    ScreenRect taskbar;
    const char side = TaskbarSide(taskbar);
    const QSize screen = desktop().screenSize();
    const int SW = screen.width();
    const int SH = screen.height();
    switch (side) {
    case 't':
        return {SW - w - kDialogGap, taskbar.bottom + kDialogGap};
    case 'r':
        return {taskbar.left - w - kDialogGap, SH - h - kDialogGap};
    case 'l':
        return {taskbar.right + kDialogGap, SH - h - kDialogGap};
    default: // 'b'
        return {SW - w - kDialogGap, taskbar.top - h - kDialogGap};
    }
}
