#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <map>
#include <optional>
#include <string>

class QWidget;

// Keeps chosen _NET_WM_STATE entries of one top-level window and is the
// record of what the window's state is. The window manager drops
// _NET_WM_STATE whenever a window is hidden, so the entries are stated again
// each time the window is about to be shown (the property, read by the
// window manager when it maps the window) and, while the window is shown,
// sent as a change request. An entry kept with `follow` also takes what the
// window manager decides for the shown window (a user may switch "always on
// top" off from outside), so the record never claims a state the window no
// longer has. Lives as a child of the window.
class WindowStateKeeper : public QObject, public QAbstractNativeEventFilter {
public:
    static WindowStateKeeper& of(QWidget& window);
    // The window's keeper, or null when nothing was ever kept for it.
    static const WindowStateKeeper* find(const QWidget& window);

    void keep(const std::string& state, bool on, bool follow = false);
    // Another window shows this one on screen (a stand-in that states the
    // entries itself): from now on the keeper only keeps the record.
    void showElsewhere() { shownElsewhere_ = true; }
    // What the window manager decided for the window shown elsewhere, for
    // an entry kept with `follow`; the record takes it as it is.
    void learn(const std::string& state, bool on);
    // The recorded state, or nothing when the entry was never kept.
    std::optional<bool> state(const std::string& state) const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        bool on = false;
        bool follow = false;
        // A change asked of the window manager that it has not shown yet;
        // until it does, what the property says is older than the record.
        bool pending = false;
    };

    explicit WindowStateKeeper(QWidget& window);
    void writeProperty();
    void learnFromWindowManager();

    QWidget& window_;
    std::map<std::string, Entry> states_;
    bool shownElsewhere_ = false;
};
