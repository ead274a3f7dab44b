#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
//
// When another window shows this one on screen (X11MascotWindow, on a
// connection of its own), the keeper stays the one record and states the
// entries on that window instead, through the other window's Elsewhere.
class WindowStateKeeper : public QObject, public QAbstractNativeEventFilter {
public:
    // What a window that shows this one elsewhere does with the entries.
    class Elsewhere {
    public:
        virtual ~Elsewhere() = default;
        // Mapped: changes go to the window manager as requests.
        virtual bool wmMapped() const = 0;
        virtual void requestWmState(const std::string& state, bool on) = 0;
        // Not mapped: the property is set, keeping entries not kept here.
        virtual void writeWmStates(const std::vector<std::pair<std::string, bool>>& states) = 0;
        virtual bool hasWmState(const std::string& state) const = 0;
    };

    static WindowStateKeeper& of(QWidget& window);
    // The window's keeper, or null when nothing was ever kept for it.
    static const WindowStateKeeper* find(const QWidget& window);

    void keep(const std::string& state, bool on, bool follow = false);
    // Another window shows this one on screen from now on (null: Qt's own
    // window again); the entries are stated on it.
    void showElsewhere(Elsewhere* by) { elsewhere_ = by; }
    // For the window shown elsewhere: states every entry in its property,
    // before it is mapped.
    void writeProperty();
    // For the window shown elsewhere: its _NET_WM_STATE changed while it
    // was mapped; entries kept with `follow` take what it says now.
    void learnFromWindowManager();
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

    QWidget& window_;
    std::map<std::string, Entry> states_;
    Elsewhere* elsewhere_ = nullptr;
};
