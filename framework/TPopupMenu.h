#pragma once

#include <memory>
#include <vector>

#include "Component.h"
#include "Events.h"

class NativeMenu;
class TMenuItem;

// A popup menu with a menu of the desktop's own kind behind it. Its items are TMenuItem components
// (owned by the form, like every component of a layout) in the menu's own
// item order. Components that refer to the menu ask for freeNotification and
// are told when it is destroyed.
class TPopupMenu : public Component {
public:
    explicit TPopupMenu(Component* owner);
    ~TPopupMenu() override;

    std::string className() const override { return "TPopupMenu"; }

    // Shows the menu at a screen point through desktopLoops().popupMenu; returns
    // when it has closed. OnPopup runs first.
    void Popup(int x, int y);
    // Runs OnPopup, as Popup does first: for the menu a notification area
    // opens by itself.
    void announcePopup();

    void add(TMenuItem* item);    // appends; an item in another menu moves here
    void remove(TMenuItem* item); // the item is not destroyed
    const std::vector<TMenuItem*>& items() const { return items_; }

    bool AutoPopup() const { return autoPopup_; }
    void setAutoPopup(bool on) { autoPopup_ = on; }
    const TNotifyEvent& OnPopup() const { return onPopup_; }
    void setOnPopup(TNotifyEvent handler) { onPopup_ = std::move(handler); }

    // The desktop's menu, made on first use.
    NativeMenu& menu();

    bool readProperty(const std::string& path, const FormValue& value) override;
    void writeProperties(PropertyWriter& writer) const override;

private:
    friend class TMenuItem;
    // Puts an item into the desktop's menu, or its changed state.
    void append(TMenuItem& item);
    void show(TMenuItem& item);
    void chosen(int number);

    std::unique_ptr<NativeMenu> menu_;
    std::vector<TMenuItem*> items_;
    bool autoPopup_ = true;
    TNotifyEvent onPopup_;
};
