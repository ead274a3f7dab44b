#include "Win32Menu.h"

#include "KuvitoError.h"
#include "Utf16.h"

#include <windows.h>

namespace {

HMENU menuOf(std::uintptr_t handle) {
    return reinterpret_cast<HMENU>(handle);
}

} // namespace

unsigned Win32Menu::state(const Item& item) {
    return (item.checked ? MFS_CHECKED : MFS_UNCHECKED) | (item.enabled ? MFS_ENABLED : MFS_DISABLED);
}

Win32Menu::Win32Menu() {
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        throw KuvitoError("Windows refused a popup menu (error " + std::to_string(::GetLastError()) + ")");
    handle_ = reinterpret_cast<std::uintptr_t>(menu);
}

Win32Menu::~Win32Menu() {
    ::DestroyMenu(menuOf(handle_));
}

Win32Menu::Item* Win32Menu::find(int item) {
    if (item < 1 || static_cast<std::size_t>(item) > items_.size())
        return nullptr;
    return &items_[static_cast<std::size_t>(item) - 1];
}

unsigned Win32Menu::position(int item) const {
    unsigned shown = 0;
    for (int n = 1; n < item; ++n)
        if (items_[static_cast<std::size_t>(n) - 1].visible)
            ++shown;
    return shown;
}

void Win32Menu::insert(int item) {
    const Item& it = items_[static_cast<std::size_t>(item) - 1];
    // An item goes in with its caption and state at once: a string item
    // without its text would be taken for a separator.
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE;
    info.wID = static_cast<UINT>(item);
    info.fType = it.separator ? MFT_SEPARATOR : MFT_STRING;
    if (!it.separator) {
        info.fMask |= MIIM_STRING | MIIM_STATE;
        info.dwTypeData = const_cast<wchar_t*>(it.caption.c_str());
        info.fState = state(it);
    }
    ::InsertMenuItemW(menuOf(handle_), position(item), TRUE, &info);
}

void Win32Menu::update(int item) {
    const Item& it = items_[static_cast<std::size_t>(item) - 1];
    if (it.separator || !it.visible)
        return;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE;
    // Windows reads the text and does not keep the pointer.
    info.dwTypeData = const_cast<wchar_t*>(it.caption.c_str());
    info.fState = state(it);
    ::SetMenuItemInfoW(menuOf(handle_), static_cast<UINT>(item), FALSE, &info);
}

int Win32Menu::append(Item item) {
    items_.push_back(std::move(item));
    const int number = static_cast<int>(items_.size());
    insert(number);
    return number;
}

int Win32Menu::appendItem(const std::string& caption) {
    return append(Item{Utf16::fromUtf8(caption)});
}

int Win32Menu::appendSeparator() {
    Item separator;
    separator.separator = true;
    return append(std::move(separator));
}

void Win32Menu::setSeparator(int item, bool separator) {
    Item* it = find(item);
    if (!it || it->separator == separator)
        return;
    it->separator = separator;
    // The kind of a shown item changes by putting it in again.
    if (it->visible) {
        ::DeleteMenu(menuOf(handle_), static_cast<UINT>(item), MF_BYCOMMAND);
        insert(item);
    }
}

void Win32Menu::setCaption(int item, const std::string& caption) {
    if (Item* it = find(item)) {
        it->caption = Utf16::fromUtf8(caption);
        update(item);
    }
}

void Win32Menu::setChecked(int item, bool checked) {
    if (Item* it = find(item)) {
        it->checked = checked;
        update(item);
    }
}

void Win32Menu::setEnabled(int item, bool enabled) {
    if (Item* it = find(item)) {
        it->enabled = enabled;
        update(item);
    }
}

void Win32Menu::setVisible(int item, bool visible) {
    Item* it = find(item);
    if (!it || it->visible == visible)
        return;
    it->visible = visible;
    if (visible)
        insert(item);
    else
        ::DeleteMenu(menuOf(handle_), static_cast<UINT>(item), MF_BYCOMMAND);
}

int Win32Menu::popup(ScreenPoint at, std::uintptr_t owner) {
    HWND window = reinterpret_cast<HWND>(owner);
    // Without the owner in front the menu would not close when the user
    // clicks elsewhere; the message posted afterwards lets the owner's
    // thread notice that the menu is gone before the next click, so that a
    // second popup opens at once.
    ::SetForegroundWindow(window);
    const BOOL chosen = ::TrackPopupMenu(menuOf(handle_), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                         at.x, at.y, 0, window, nullptr);
    ::PostMessageW(window, WM_NULL, 0, 0);
    return chosen > 0 ? static_cast<int>(chosen) : 0;
}
