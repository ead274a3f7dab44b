#include "TMenuItem.h"

#include <QAction>

#include "ErrorDisplay.h"
#include "PropertyWriter.h"
#include "TPopupMenu.h"

TMenuItem::TMenuItem(Component* owner) : Component(owner), action_(std::make_unique<QAction>()) {
    QObject::connect(action_.get(), &QAction::triggered, [this] { Click(); });
}

TMenuItem::~TMenuItem() {
    beginDestruction();
    if (menu_)
        menu_->remove(this);
}

void TMenuItem::setCaption(const std::string& caption) {
    caption_ = caption;
    // A separator shows as a line only; styles that draw a separator's text
    // would otherwise put the "-" beside it.
    const bool separator = caption == "-";
    action_->setSeparator(separator);
    action_->setText(separator ? QString() : QString::fromStdString(caption));
}

void TMenuItem::setEnabled(bool on) {
    enabled_ = on;
    action_->setEnabled(on);
}

void TMenuItem::setVisible(bool on) {
    visible_ = on;
    action_->setVisible(on);
}

void TMenuItem::setChecked(bool on) {
    checked_ = on;
    action_->setCheckable(on);
    action_->setChecked(on);
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
