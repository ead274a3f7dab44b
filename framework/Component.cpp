#include "Component.h"

#include <algorithm>

#include "PropertyWriter.h"

Component::Component(Component* owner) {
    if (owner)
        owner->insertComponent(this);
}

Component::~Component() {
    beginDestruction();
    destroyComponents();
}

void Component::beginDestruction() {
    if (destroying_)
        return;
    destroying_ = true;
    // Everyone that asked is told first, while this component and the ones
    // it owns still exist; the links are dropped on both sides as we go, so
    // that a component told here can no longer reach this one.
    while (!freeNotifies_.empty()) {
        Component* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->notification(this, Operation::opRemove);
    }
    removeFromOwner();
}

std::vector<std::string> Component::publishedMethodNames() const {
    std::vector<std::string> names;
    for (const auto& [name, handler] : methods_)
        names.push_back(name);
    return names;
}

Component* Component::findComponent(std::string_view name) const {
    if (name.empty())
        return nullptr;
    for (Component* c : components_)
        if (c->name_ == name)
            return c;
    return nullptr;
}

Component* Component::root() {
    Component* c = this;
    while (c->owner_)
        c = c->owner_;
    return c;
}

void Component::setDesigning(bool on) {
    designing_ = on;
    for (Component* c : components_)
        c->setDesigning(on);
}

void Component::loaded() {
    loading_ = false;
}

void Component::notification(Component* component, Operation operation) {
    if (operation == Operation::opRemove && component)
        removeFreeNotification(component);
    // The owner passes the news on to everything it owns, so that siblings
    // holding references to the removed component can drop them. The list
    // is copied: a component told here may create or destroy others.
    const std::vector<Component*> owned = components_;
    for (Component* c : owned) {
        if (c == component)
            continue;
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->notification(component, operation);
    }
}

void Component::freeNotification(Component* component) {
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    auto& theirs = component->freeNotifies_;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end())
        theirs.push_back(this);
}

void Component::removeFreeNotification(Component* component) {
    if (!component)
        return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                        freeNotifies_.end());
    auto& theirs = component->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

bool Component::readProperty(const std::string& path, const FormValue& value) {
    if (path == "Tag") {
        setTag(value.asInt32());
        return true;
    }
    // A form designer keeps the place of a non-visual component under these
    // names; controls read their own Left and Top before this is reached.
    if (path == "Left" || path == "Top") {
        (path == "Left" ? designLeft_ : designTop_) = value.asInt32();
        hasDesignInfo_ = true;
        return true;
    }
    return false;
}

void Component::writeProperties(PropertyWriter& writer) const {
    if (tag_ != 0)
        writer.write("Tag", FormValue::fromInt(tag_));
    for (const auto& [property, method] : eventNames_)
        writer.write(property, FormValue::fromIdent(method));
    if (hasDesignInfo_) {
        writer.write("Left", FormValue::fromInt(designLeft_));
        writer.write("Top", FormValue::fromInt(designTop_));
    }
}

void Component::removeFromOwner() {
    if (owner_)
        owner_->removeComponent(this);
}

void Component::insertComponent(Component* component) {
    components_.push_back(component);
    component->owner_ = this;
    notification(component, Operation::opInsert);
}

void Component::removeComponent(Component* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it == components_.end())
        return;
    components_.erase(it);
    component->owner_ = nullptr;
    for (Component* c : components_)
        if (c->parentComponent_ == component)
            c->parentComponent_ = nullptr;
    notification(component, Operation::opRemove);
}

void Component::destroyComponents() {
    // Last first. Deleting one component may delete others (a widget deletes
    // its child widgets); those leave the list themselves, so the list is
    // read afresh each time and nothing is deleted twice.
    while (!components_.empty()) {
        Component* c = components_.back();
        removeComponent(c);
        delete c;
    }
}
