#include "TRgnList.h"

#include "DesktopWindows.h"
#include "Form.h"
#include "PropertyWriter.h"
#include "RgnOutline.h"
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
    std::vector<const RgnOutline*> outlines;
    others_.clear();
    // The selected frames, then every other control, raised in that order.
    std::vector<Control*> inTurn;
    std::vector<TRgn*> hidden;
    // The same, seen as what lies on the form's surface.
    std::vector<const ControlBase*> stackedInTurn, uncounted;
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
                    outlines.push_back(&*rgn->RgnHandle());
                inTurn.push_back(rgn);
            } else {
                hidden.push_back(rgn);
                // Frames that are not shown neither paint nor take the
                // pointer, so where they lie does not count.
                uncounted.push_back(rgn);
            }
        }
    }
    inTurn.insert(inTurn.end(), others_.begin(), others_.end());
    stackedInTurn.assign(inTurn.begin(), inTurn.end());
    // A frame switch every tick would otherwise restack the form's children
    // every tick, with nothing on screen changing.
    if (!ControlBase::stackedOnTop(stackedInTurn, uncounted))
        for (Control* control : inTurn)
            control->bringToFront();
    for (TRgn* rgn : hidden)
        rgn->setShown(false);
    for (Control* control : inTurn)
        if (auto* rgn = dynamic_cast<TRgn*>(control))
            rgn->setShown(true);
    if (auto* f = dynamic_cast<Form*>(form)) {
        f->setBorderStyleNone();
        f->setClearBrush();
    }
    fire(OnShowWnd_, this);
    if (auto* window = dynamic_cast<Form*>(form))
        // The usual switch shows one frame, whose outline goes to the desktop
        // as it is; only several frames at once are united.
        desktopWindows().setWindowRegion(window->desktopHandle(), outlines.size() == 1
                                                                      ? outlines.front()->rects()
                                                                      : RgnOutline::united(outlines).rects());
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
