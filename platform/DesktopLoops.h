#pragma once

class QWidget;
class QDialog;
class QMenu;
class QPoint;

// The nested loops: each returns only when its work is done, and timers keep
// ticking inside all of them.
class DesktopLoops {
public:
    virtual ~DesktopLoops() = default;

    // Releases the mouse capture and moves the window with the pointer until
    // the left button is released; pressPoint is the press position inside
    // the window. Returns after the release.
    virtual void dragWindow(QWidget& window, QPoint pressPoint) = 0;
    // Shows the dialog modally; returns its result when it closes.
    virtual int execModal(QDialog& dialog) = 0;
    // Shows the menu at a screen point; returns when it has closed.
    virtual void popupMenu(QMenu& menu, QPoint at) = 0;
    // Handles every message already waiting in the program's queue.
    virtual void processPendingMessages() = 0;
};
