#include "TMenuItem.h"

#include "ErrorDisplay.h"
#include "PropertyWriter.h"
#include "TPopupMenu.h"

TMenuItem::TMenuItem(Component* owner) : Component(owner) {}

TMenuItem::~TMenuItem() {
    beginDestruction();
    if (menu_)
        menu_->remove(this);
}

void TMenuItem::setCaption(const std::string& caption) {
    caption_ = caption;
    if (menu_)
        menu_->show(*this);
}

void TMenuItem::setEnabled(bool on) {
    enabled_ = on;
    if (menu_)
        menu_->show(*this);
}

void TMenuItem::setVisible(bool on) {
    visible_ = on;
    if (menu_)
        menu_->show(*this);
}

void TMenuItem::setChecked(bool on) {
    checked_ = on;
    if (menu_)
        menu_->show(*this);
}

void TMenuItem::Click() {
    // The handler may destroy the item (and the menu), so nothing of this
    // object is touched after it ran.
    TNotifyEvent handler = onClick_;
    ErrorDisplay::guarded([&] { fire(handler, this); });
}

void TMenuItem::setParentComponent(Component* parent) {
    Component::setParentComponent(parent);
    if (auto* menu = dynamic_cast<TPopupMenu*>(parent))
        menu->add(this);
}

bool TMenuItem::readProperty(const std::string& path, const FormValue& value) {
    if (path == "Caption") {
        setCaption(value.asString());
        return true;
    }
    if (path == "Enabled") {
        setEnabled(value.asBool());
        return true;
    }
    if (path == "Visible") {
        setVisible(value.asBool());
        return true;
    }
    if (path == "Checked") {
        setChecked(value.asBool());
        return true;
    }
    if (path == "OnClick") {
        readEvent(path, value, onClick_);
        return true;
    }
    return Component::readProperty(path, value);
}

void TMenuItem::writeProperties(PropertyWriter& writer) const {
    if (!caption_.empty())
        writer.write("Caption", FormValue::fromString(caption_));
    if (checked_)
        writer.write("Checked", FormValue::fromBool(true));
    if (!enabled_)
        writer.write("Enabled", FormValue::fromBool(false));
    if (!visible_)
        writer.write("Visible", FormValue::fromBool(false));
    Component::writeProperties(writer);
}
