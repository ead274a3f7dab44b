#include "TPopupMenu.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

#include "DesktopServices.h"
#include "ErrorDisplay.h"
#include "PropertyWriter.h"
#include "TMenuItem.h"

TPopupMenu::TPopupMenu(Component* owner) : Component(owner) {}

TPopupMenu::~TPopupMenu() {
    // Told while still a TPopupMenu, so that holders can recognise it.
    beginDestruction();
    for (TMenuItem* item : items_)
        item->menu_ = nullptr;
    items_.clear();
}

void TPopupMenu::Popup(int x, int y) {
    fire(onPopup_, this);
    desktopLoops().popupMenu(menu(), QPoint(x, y));
}

void TPopupMenu::add(TMenuItem* item) {
    if (!item || item->menu_ == this)
        return;
    if (item->menu_)
        item->menu_->remove(item);
    items_.push_back(item);
    item->menu_ = this;
    if (menu_)
        menu_->addAction(item->action_.get());
}

QMenu& TPopupMenu::menu() {
    // The menu widget (its style, its fonts) is made when it is first needed,
    // which is usually the first right-click, not at start-up.
    if (!menu_) {
        menu_ = std::make_unique<QMenu>();
        for (TMenuItem* item : items_)
            menu_->addAction(item->action_.get());
    }
    return *menu_;
}

void TPopupMenu::remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    item->menu_ = nullptr;
    if (menu_)
        menu_->removeAction(item->action_.get());
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
