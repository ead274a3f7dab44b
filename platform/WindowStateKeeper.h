#pragma once

#include <QObject>

#include <map>
#include <string>

class QWidget;

// Keeps chosen _NET_WM_STATE entries of one top-level window. The window
// manager drops _NET_WM_STATE whenever a window is hidden, so the entries are
// stated again each time the window is about to be shown (the property,
// read by the window manager when it maps the window) and, while the window
// is shown, sent as a change request. Lives as a child of the window.
class WindowStateKeeper : public QObject {
public:
    static WindowStateKeeper& of(QWidget& window);
    void keep(const std::string& state, bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WindowStateKeeper(QWidget& window);
    void writeProperty();

    QWidget& window_;
    std::map<std::string, bool> states_;
};
