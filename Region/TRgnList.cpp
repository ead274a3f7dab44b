#include "TRgnList.h"

#include "DesktopServices.h"
#include "Form.h"
#include "PropertyWriter.h"
#include "QtWindowHandle.h"
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

namespace {

// Whether raising the controls in turn would leave their parent's stacking
// order as it is, for all anyone sees: each is already above the one before
// it and nothing that shows lies above the last. Frames that are not shown
// neither paint nor take the pointer, so where they lie does not count.
bool alreadyInFront(const std::vector<Control*>& inTurn, const std::vector<TRgn*>& hidden) {
    if (inTurn.empty())
        return true;
    QWidget* parent = inTurn.front()->parentWidget();
    if (parent == nullptr)
        return false;
    std::vector<QWidget*> showing;
    for (QObject* child : parent->children()) {
        auto* widget = child->isWidgetType() ? static_cast<QWidget*>(child) : nullptr;
        if (widget && std::find(hidden.begin(), hidden.end(), widget) == hidden.end())
            showing.push_back(widget);
    }
    return showing.size() >= inTurn.size() &&
           std::equal(inTurn.begin(), inTurn.end(), showing.end() - static_cast<long>(inTurn.size()));
}

} // namespace

void TRgnList::ApplyRgn() {
    std::vector<const RgnOutline*> outlines;
    others_.clear();
    // The selected frames, then every other control, raised in that order.
    std::vector<Control*> inTurn;
    std::vector<TRgn*> hidden;
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
            }
        }
    }
    inTurn.insert(inTurn.end(), others_.begin(), others_.end());
    // A frame switch every tick would otherwise restack the form's children
    // every tick, with nothing on screen changing.
    if (!alreadyInFront(inTurn, hidden))
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
    if (auto* window = dynamic_cast<QWidget*>(form))
        // The usual switch shows one frame, whose outline goes to the desktop
        // as it is; only several frames at once are united.
        desktopWindows().setWindowRegion(handleOf(*window), outlines.size() == 1
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
