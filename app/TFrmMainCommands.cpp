// The user's commands on the mascot: the drag with the left button and the
// tray menu's items (settings, about, full screen, login, exit), with the
// rule that places the dialogs beside the taskbar.

#include "TFrmMain.h"

#include <memory>
#include <utility>

#include "AutostartStore.h"
#include "DesktopServices.h"
#include "DialogPlacement.h"
#include "SettingsStore.h"
#include "TFrmSettei.h"
#include "TFrmVer.h"
#include "TMenuItem.h"
#include "TTimer.h"

namespace {

// Dialogs keep this far from the screen's edges and the taskbar.
constexpr int kDialogGap = 30;
// How far below the pointer a character called forward stands.
constexpr int kComeForwardGap = 8;

// Creates (with `args`), places, shows modally and releases one dialog; the
// global pointer holds it while it is open. A second command while it is open
// brings that dialog to the front instead of opening another: the tray menu
// stays reachable while a dialog is modal.
template <typename Dialog, typename... Args>
void showDialog(TFrmMain& mascot, Dialog*& global, Args&&... args) {
    if (global) {
        DialogPlacement::bringForward(*global);
        return;
    }
    auto dialog = std::make_unique<Dialog>(std::forward<Args>(args)...);
    global = dialog.get();
    DialogPlacement::prepareModal(*dialog, mascot, &TFrmMain::PlaceNearTaskbar);
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
    desktopLoops().dragWindow(desktopHandle(), {X, Y});
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

void TFrmMain::FullScreen1Click(Component*) {
    // Stored first: a file that cannot be written leaves everything as it
    // was, and the click shows why.
    WriteHideForFullScreen(!settings().hideForFullScreen);
    FullScreen1->setChecked(settings().hideForFullScreen);
    followFullScreen();
}

void TFrmMain::Autostart1Click(Component*) {
    // Decided by what the system has now, not by the mark: the entry may
    // have changed since the menu opened.
    const bool on = AutostartStore::isOn();
    try {
        if (on)
            AutostartStore::turnOff();
        else
            AutostartStore::turnOn(desktopProgram().executablePath());
    } catch (...) {
        // The menu may have flipped the mark by itself; the message goes up
        // to be shown.
        Autostart1->setChecked(AutostartStore::isOn());
        throw;
    }
    Autostart1->setChecked(AutostartStore::isOn());
}

void TFrmMain::PopupMenu1Popup(Component*) {
    Autostart1->setChecked(AutostartStore::isOn());
}

void TFrmMain::comeForward() {
    // Just below the pointer, so that it is seen at once and does not take
    // the next click meant for what lies under the pointer.
    const ScreenPoint pointer = desktopQueries().cursorPos();
    beginMoveBatch();
    setLeft(pointer.x - frameWidth() / 2);
    setTop(pointer.y + kComeForwardGap);
    endMoveBatch();
    if (!isVisible())
        show();
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
