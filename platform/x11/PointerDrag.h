#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

class QEventLoop;
class QWidget;

// Moves a top-level window with the pointer until the left button is
// released, in a nested event loop (timers keep ticking). The window's
// position is always pointer - press point.
//
// The pointer is grabbed so that the moves arrive wherever it goes; as a
// safety net the server's pointer state is also polled at a modest rate, so
// that a release the program never saw (the grab failed, the button went up
// before the loop started) still ends the drag instead of hanging it.
class PointerDrag : public QObject {
public:
    PointerDrag(QWidget& window, QPoint pressPoint);
    void run(); // returns after the release

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QPoint global);
    void finish();
    bool concerns(QObject* watched) const;

    QPointer<QWidget> window_;
    QPoint press_;
    QEventLoop* loop_ = nullptr;
    QTimer poll_;
    bool done_ = false;
};
