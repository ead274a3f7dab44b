#include "TPopupMenu.h"

#include <algorithm>

#include "DesktopServices.h"
#include "ErrorDisplay.h"
#include "NativeMenu.h"
#include "PropertyWriter.h"
#include "TMenuItem.h"

TPopupMenu::TPopupMenu(Component* owner) : Component(owner) {}

TPopupMenu::~TPopupMenu() {
    // Told while still a TPopupMenu, so that holders can recognise it.
    beginDestruction();
    for (TMenuItem* item : items_) {
        item->menu_ = nullptr;
        item->number_ = 0;
    }
    items_.clear();
}

void TPopupMenu::Popup(int x, int y) {
    announcePopup();
    desktopLoops().popupMenu(menu(), {x, y});
}

void TPopupMenu::announcePopup() {
    fire(onPopup_, this);
}

void TPopupMenu::add(TMenuItem* item) {
    if (!item || item->menu_ == this)
        return;
    if (item->menu_)
        item->menu_->remove(item);
    items_.push_back(item);
    item->menu_ = this;
    if (menu_)
        append(*item);
}

NativeMenu& TPopupMenu::menu() {
    // The desktop's menu (its style, its fonts) is made when it is first
    // needed, which is usually the first right-click, not at start-up.
    if (!menu_) {
        menu_ = desktopTray().createMenu();
        menu_->setOnChoose([this](int number) { chosen(number); });
        for (TMenuItem* item : items_)
            append(*item);
    }
    return *menu_;
}

void TPopupMenu::append(TMenuItem& item) {
    item.number_ = item.caption_ == "-" ? menu_->appendSeparator() : menu_->appendItem(item.caption_);
    show(item);
}

void TPopupMenu::show(TMenuItem& item) {
    if (!menu_ || item.number_ == 0)
        return;
    const int n = item.number_;
    const bool separator = item.caption_ == "-";
    menu_->setSeparator(n, separator);
    if (!separator)
        menu_->setCaption(n, item.caption_);
    menu_->setChecked(n, item.checked_);
    menu_->setEnabled(n, item.enabled_);
    menu_->setVisible(n, item.visible_);
}

void TPopupMenu::chosen(int number) {
    for (TMenuItem* item : items_)
        if (item->number_ == number) {
            // The click may destroy this menu; nothing of it is touched
            // afterwards.
            item->Click();
            return;
        }
}

void TPopupMenu::remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    item->menu_ = nullptr;
    // The desktop's menu keeps every number it gave out: the item's stays
    // hidden for good, and the item gets a new one if it comes back.
    if (menu_ && item->number_ != 0)
        menu_->setVisible(item->number_, false);
    item->number_ = 0;
}

bool TPopupMenu::readProperty(const std::string& path, const FormValue& value) {
    if (path == "AutoPopup") {
        setAutoPopup(value.asBool());
        return true;
    }
    if (path == "OnPopup") {
        readEvent(path, value, onPopup_);
        return true;
    }
    return Component::readProperty(path, value);
}

void TPopupMenu::writeProperties(PropertyWriter& writer) const {
    if (!autoPopup_)
        writer.write("AutoPopup", FormValue::fromBool(false));
    Component::writeProperties(writer);
}
