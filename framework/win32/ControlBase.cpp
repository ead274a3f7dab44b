#include "ControlBase.h"

#include <algorithm>

#include "Component.h"
#include "FormBase.h"

ControlBase::~ControlBase() {
    if (surface_)
        surface_->detach(this);
}

bool ControlBase::stackedOnTop(const std::vector<const ControlBase*>& inTurn,
                               const std::vector<const ControlBase*>& uncounted) {
    if (inTurn.empty())
        return true;
    const FormBase* surface = inTurn.front()->surface_;
    if (surface == nullptr)
        return false;
    std::vector<const ControlBase*> counted;
    for (const ControlBase* control : surface->stackedControls())
        if (std::find(uncounted.begin(), uncounted.end(), control) == uncounted.end())
            counted.push_back(control);
    return counted.size() >= inTurn.size() &&
           std::equal(inTurn.begin(), inTurn.end(), counted.end() - static_cast<long>(inTurn.size()));
}

bool ControlBase::isSurface(Component* component) {
    return dynamic_cast<FormBase*>(component) != nullptr;
}

bool ControlBase::attachTo(Component* parent) {
    auto* form = dynamic_cast<FormBase*>(parent);
    if (form == nullptr || form == surface_)
        return false;
    reparenting_ = true;
    if (surface_)
        surface_->detach(this);
    surface_ = form;
    form->attach(this);
    reparenting_ = false;
    return true;
}

void ControlBase::placeOnSurface(int left, int top, int width, int height) {
    if (surface_ && shown_)
        surface_->invalidate(*this, false);
    left_ = left;
    top_ = top;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    update();
}

void ControlBase::showOnSurface(bool visible) {
    if (visible == shown_)
        return;
    // Both ways the place it takes changes on screen.
    shown_ = true;
    update();
    shown_ = visible;
}

void ControlBase::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    update();
}

void ControlBase::update() {
    if (surface_ && shown_)
        surface_->invalidate(*this, false);
}

void ControlBase::repaint() {
    if (surface_ && shown_)
        surface_->invalidate(*this, true);
}

void ControlBase::raise() {
    if (surface_)
        surface_->restack(this, true);
}

void ControlBase::lower() {
    if (surface_)
        surface_->restack(this, false);
}
