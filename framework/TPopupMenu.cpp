#include "TPopupMenu.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

#include "DesktopServices.h"
#include "ErrorDisplay.h"
#include "PropertyWriter.h"
#include "TMenuItem.h"

TPopupMenu::TPopupMenu(Component* owner) : Component(owner), menu_(std::make_unique<QMenu>()) {}

TPopupMenu::~TPopupMenu() {
    // Told while still a TPopupMenu, so that holders can recognise it.
    beginDestruction();
    for (TMenuItem* item : items_)
        item->menu_ = nullptr;
    items_.clear();
}

void TPopupMenu::Popup(int x, int y) {
    fire(onPopup_, this);
    desktopLoops().popupMenu(*menu_, QPoint(x, y));
}

void TPopupMenu::add(TMenuItem* item) {
    if (!item || item->menu_ == this)
        return;
    if (item->menu_)
        item->menu_->remove(item);
    items_.push_back(item);
    item->menu_ = this;
    menu_->addAction(item->action_.get());
}

void TPopupMenu::remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    item->menu_ = nullptr;
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
