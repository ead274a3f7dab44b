#pragma once

#include "NativeMenu.h"
#include "ScreenPoint.h"

#include <cstdint>
#include <vector>

// NativeMenu over a Windows popup menu (CreatePopupMenu, TrackPopupMenu).
// Windows has no hidden menu items: hiding one takes it out of the menu, and
// showing it puts it back in its place with its caption and state.
class Win32Menu : public NativeMenu {
public:
    // Throws KuvitoError when Windows refuses the menu.
    Win32Menu();
    ~Win32Menu() override;
    Win32Menu(const Win32Menu&) = delete;
    Win32Menu& operator=(const Win32Menu&) = delete;

    int appendItem(const std::string& caption) override;
    int appendSeparator() override;
    void setSeparator(int item, bool separator) override;
    void setCaption(int item, const std::string& caption) override;
    void setChecked(int item, bool checked) override;
    void setEnabled(int item, bool enabled) override;
    void setVisible(int item, bool visible) override;
    // Shows the menu at a screen point on behalf of the owner window and
    // returns when it closes: the item chosen, or 0 when none was. The
    // choose handler does not run here; the desktop's popupMenu runs it.
    int popup(ScreenPoint at, std::uintptr_t owner);

    // The HMENU.
    std::uintptr_t handle() const { return handle_; }

private:
    struct Item {
        std::wstring caption;
        bool separator = false;
        bool checked = false;
        bool enabled = true;
        bool visible = true;
    };

    Item* find(int item);
    // MFS_ flags.
    static unsigned state(const Item& item);
    int append(Item item);
    // Where a shown item sits in the Windows menu: after the shown items
    // before it.
    unsigned position(int item) const;
    // Puts a shown item's caption and state into the Windows menu.
    void insert(int item);
    void update(int item);

    std::uintptr_t handle_ = 0;
    std::vector<Item> items_; // items_[n - 1] is item n
};
