#pragma once

#include <any>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "FormValue.h"
#include "KuvitoError.h"

class PropertyWriter;

// The component model the windows are built from. A component has a name and
// an owner; the owner keeps its components in creation order (the "component
// order") and destroys them, last first, when it is destroyed. Components that
// refer to another one ask to be told when it goes away (freeNotification)
// and drop the reference in notification().
class Component {
public:
    enum class Operation { opInsert, opRemove };

    explicit Component(Component* owner);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // The class name under which stored layouts name this class.
    virtual std::string className() const = 0;

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    std::int32_t tag() const { return tag_; }
    void setTag(std::int32_t tag) { tag_ = tag; }

    Component* owner() const { return owner_; }
    const std::vector<Component*>& components() const { return components_; }
    Component* findComponent(std::string_view name) const;
    // Top of the owner chain: the form that publishes the event handlers.
    Component* root();

    // Design mode: the component is being edited by a design-time tool
    // instead of running. Loading: its stored properties are being read.
    bool isDesigning() const { return designing_; }
    bool isLoading() const { return loading_; }
    void setDesigning(bool on); // also for every owned component
    void setLoading(bool on) { loading_ = on; }

    // Called once after every stored property of the whole layout was read.
    // The base clears the loading state.
    virtual void loaded();
    // Told when a component this one asked about is inserted or removed.
    virtual void notification(Component* component, Operation operation);
    // Ask `component` to call notification(component, opRemove) on this one
    // when it is destroyed. The link works both ways and is dropped when
    // either side goes away, so neither is ever told about a dead component.
    void freeNotification(Component* component);
    void removeFreeNotification(Component* component);

    // The component this one sits in for its structure (a control's parent
    // window, a menu item's menu). Stored layouts nest children under it; it
    // is usually, but not always, the owner. The base only records it.
    Component* parentComponent() const { return parentComponent_; }
    virtual void setParentComponent(Component* parent) { parentComponent_ = parent; }

    // Where a form designer placed a non-visual component ("Left"/"Top" in
    // its stored layout). No effect at run time; kept so it is written back.
    int designLeft() const { return designLeft_; }
    int designTop() const { return designTop_; }

    // Stored properties. readProperty() receives one stored value under its
    // property path ("Left", "RgnBitmap.Data", "OnClick", or a binary
    // property a component defines itself such as "RgnData") and returns
    // false when the path is unknown. writeProperties() writes the values in
    // the order a reader expects them. The base reads and writes "Tag"
    // (stored when not 0), the bound event names and the designer position
    // of non-visual components; a subclass writes its own published values,
    // calls the base, then writes binary properties of its own (such as
    // "RgnData") last.
    virtual bool readProperty(const std::string& path, const FormValue& value);
    virtual void writeProperties(PropertyWriter& writer) const;

    // Handlers published by a form by method name, so that stored layouts can
    // name them ("OnMouseDown = Rgn1MouseDown").
    void publishMethod(const std::string& name, std::any handler) { methods_[name] = std::move(handler); }
    template <typename Handler> Handler findMethod(const std::string& name) const {
        auto it = methods_.find(name);
        if (it == methods_.end())
            return Handler{};
        if (const Handler* h = std::any_cast<Handler>(&it->second))
            return *h;
        return Handler{};
    }
    // The names of the published handlers, in name order.
    std::vector<std::string> publishedMethodNames() const;
    // The method name bound to an event property, kept so that the layout
    // can be written back.
    void bindEventName(const std::string& property, const std::string& method) {
        eventNames_[property] = method;
    }
    const std::map<std::string, std::string>& eventNames() const { return eventNames_; }

protected:
    // Resolves a stored event binding on the root's published methods.
    template <typename Handler>
    bool readEvent(const std::string& path, const FormValue& value, Handler& out) {
        if (value.type != FormValue::Type::Ident && value.type != FormValue::Type::Nil)
            throw KuvitoError("メソッド名が必要です", KuvitoError::Kind::Conversion);
        if (value.type == FormValue::Type::Nil) {
            out = Handler{};
            eventNames_.erase(path);
            return true;
        }
        Handler handler = root()->findMethod<Handler>(value.text);
        if (!handler)
            throw KuvitoError(name_ + "." + path + ": メソッド " + value.text + " が見つかりません");
        out = std::move(handler);
        bindEventName(path, value.text);
        return true;
    }
    // Removes this component from its owner's list (used by destruction).
    void removeFromOwner();
    // Tells everyone that asked (freeNotification) and the owner's
    // components that this one goes away, and leaves the owner. ~Component
    // does it too, but by then the object is only a Component: a class that
    // others recognise by type (a popup menu the tray icon holds, a TRgn the
    // region list holds) calls this first thing in its destructor so that
    // notification() sees the real class. Runs once.
    void beginDestruction();
    // Destroys the owned components, last first. Classes that are also
    // widgets call this at the start of their destructor, so that owned
    // components go while the owner is still whole (and before the widget
    // base deletes its child widgets).
    void destroyComponents();

private:
    void insertComponent(Component* component);
    void removeComponent(Component* component);

    Component* owner_ = nullptr;
    Component* parentComponent_ = nullptr;
    int designLeft_ = 0;
    int designTop_ = 0;
    bool hasDesignInfo_ = false;
    bool destroying_ = false;
    std::string name_;
    std::int32_t tag_ = 0;
    bool designing_ = false;
    bool loading_ = false;
    std::vector<Component*> components_;
    std::vector<Component*> freeNotifies_;
    std::map<std::string, std::any> methods_;
    std::map<std::string, std::string> eventNames_;
};
