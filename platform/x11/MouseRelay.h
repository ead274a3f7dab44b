#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

class QWidget;

// Hands pointer events that reach the program outside Qt (on the mascot's
// own X connection) to a widget's child under the pointer as ordinary Qt
// mouse events, as Qt does for its own windows: the child that took a press
// gets the moves and the release that follow (Qt's implicit grab), a quick
// second press near the first is a double click, and a child's hint shows
// after the pointer has rested on it.
//
// Positions are the widget's own (`local`) and the screen's (`global`); the
// buttons given are those held before the event, as the X server reports
// them.
class MouseRelay : public QObject {
public:
    explicit MouseRelay(QWidget& widget);

    void button(bool press, Qt::MouseButton which, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers,
                QPoint local, QPoint global, unsigned long time);
    void motion(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, QPoint local, QPoint global);
    // The pointer left the window, or something else took it over.
    void hideHint();
    // Forgets the child that took the last press (a drag took the release).
    void forgetPress() { pressed_ = nullptr; }

private:
    QWidget* targetAt(QPoint local) const;
    void showHint();

    QPointer<QWidget> widget_;
    QPointer<QWidget> pressed_;
    unsigned long lastPressTime_ = 0;
    Qt::MouseButton lastPressButton_ = Qt::NoButton;
    QPoint lastPressPos_;
    // The hint of the child the pointer rests on, shown after a pause.
    QTimer hintTimer_;
    QPointer<QWidget> hintTarget_;
    QPoint hintAt_;
};
