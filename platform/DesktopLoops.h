#pragma once

#include "ScreenPoint.h"
#include "WindowHandle.h"

class ModalDialog;
class NativeMenu;

// The nested loops: each returns only when its work is done, and timers keep
// ticking inside all of them.
class DesktopLoops {
public:
    virtual ~DesktopLoops() = default;

    // Releases the mouse capture and moves the window with the pointer until
    // the left button is released; pressPoint is the press position inside
    // the window. Returns after the release.
    virtual void dragWindow(WindowHandle window, ScreenPoint pressPoint) = 0;
    // Shows the dialog modally, the program's other windows taking no input
    // meanwhile; returns its result when it ends.
    virtual int execModal(ModalDialog& dialog) = 0;
    // Shows a menu the desktop made (DesktopTray::createMenu) at a screen
    // point; returns when it has closed, after the chosen item's handler
    // ran. The handler may destroy the menu.
    virtual void popupMenu(NativeMenu& menu, ScreenPoint at) = 0;
    // Handles every message already waiting in the program's queue.
    virtual void processPendingMessages() = 0;
};
