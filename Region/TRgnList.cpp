#include "TRgnList.h"

#include "DesktopServices.h"
#include "Form.h"
#include "PropertyWriter.h"
#include "TRgn.h"

#include <algorithm>

TRgnList::TRgnList(Component* owner) : Component(owner) {}

TRgnList::~TRgnList() {
    // The list names controls it does not own; it only stops listening.
    for (TRgn* rgn : selection_)
        removeFreeNotification(rgn);
}

void TRgnList::AddRgn(TRgn* rgn) {
    if (rgn == nullptr)
        return;
    // A control destroyed while still selected is dropped from the
    // selection instead of being united later as a dangling reference.
    if (std::find(selection_.begin(), selection_.end(), rgn) == selection_.end())
        freeNotification(rgn);
    selection_.push_back(rgn);
}

void TRgnList::notification(Component* component, Operation operation) {
    Component::notification(component, operation);
    if (operation == Operation::opRemove)
        selection_.erase(std::remove(selection_.begin(), selection_.end(), component), selection_.end());
}

void TRgnList::ApplyRgn() {
    QRegion region;
    others_.clear();
    Component* form = owner();
    if (form != nullptr) {
        for (Component* component : form->components()) {
            auto* control = dynamic_cast<Control*>(component);
            if (control == nullptr)
                continue;
            auto* rgn = dynamic_cast<TRgn*>(control);
            if (rgn == nullptr) {
                others_.push_back(control);
                continue;
            }
            if (std::find(selection_.begin(), selection_.end(), rgn) != selection_.end()) {
                if (rgn->RgnHandle())
                    region += *rgn->RgnHandle();
                rgn->bringToFront();
                rgn->setShown(true);
            } else {
                rgn->setShown(false);
            }
        }
    }
    if (auto* f = dynamic_cast<Form*>(form)) {
        f->setBorderStyleNone();
        f->setClearBrush();
    }
    for (Control* control : others_)
        control->bringToFront();
    fire(OnShowWnd_, this);
    if (auto* window = dynamic_cast<QWidget*>(form))
        desktopWindows().setWindowRegion(*window, region);
    if (AutoClear_) {
        for (TRgn* rgn : selection_)
            removeFreeNotification(rgn);
        selection_.clear();
    }
}

bool TRgnList::readProperty(const std::string& path, const FormValue& value) {
    if (path == "AutoClear") {
        AutoClear_ = value.asBool();
    } else if (path == "OnShowWnd") {
        readEvent(path, value, OnShowWnd_);
    } else {
        return Component::readProperty(path, value);
    }
    return true;
}

void TRgnList::writeProperties(PropertyWriter& writer) const {
    if (!AutoClear_)
        writer.write("AutoClear", FormValue::fromBool(false));
    Component::writeProperties(writer);
}
