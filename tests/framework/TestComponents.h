#pragma once

#include <QWidget>

#include <string>
#include <vector>

#include "Component.h"
#include "Control.h"
#include "Form.h"

// Small component classes for the tests, with a shared journal of what
// happened to them.
inline std::vector<std::string>& journal() {
    static std::vector<std::string> lines;
    return lines;
}

class Probe : public Component {
public:
    explicit Probe(Component* owner, std::string label = {}) : Component(owner), label_(std::move(label)) {}
    ~Probe() override { journal().push_back("destroy " + label_); }
    std::string className() const override { return "TProbe"; }
    void notification(Component* component, Operation operation) override {
        Component::notification(component, operation);
        if (operation == Operation::opRemove) {
            removed.push_back(component);
            if (component == watched)
                watched = nullptr;
        }
    }
    void loaded() override {
        Component::loaded();
        journal().push_back("loaded " + name());
    }
    // A binary property of its own, and a plain number.
    bool readProperty(const std::string& path, const FormValue& value) override {
        if (path == "Data") {
            if (value.type != FormValue::Type::Binary)
                return false;
            data = value.bytes;
            return true;
        }
        if (path == "Number") {
            number = value.asInt32();
            journal().push_back("read " + name() + ".Number loading=" + (isLoading() ? "1" : "0"));
            return true;
        }
        if (path == "OnEvent")
            return readEvent(path, value, onEvent);
        return Component::readProperty(path, value);
    }
    void writeProperties(PropertyWriter& writer) const override;

    std::string label_;
    std::vector<Component*> removed;
    Component* watched = nullptr;
    std::vector<std::uint8_t> data;
    int number = 0;
    TNotifyEvent onEvent;
};

// A component that is also a widget, as forms and controls are.
class WidgetProbe : public QWidget, public Component {
public:
    explicit WidgetProbe(Component* owner, QWidget* parent = nullptr) : QWidget(parent), Component(owner) {}
    ~WidgetProbe() override {
        beginDestruction();
        destroyComponents();
        journal().push_back("destroy widget " + name());
    }
    std::string className() const override { return "TWidgetProbe"; }
};

// A control that records every bounds change, as TRgn's AutoSize needs.
class BoundsProbe : public Control {
public:
    using Control::Control;
    std::string className() const override { return "TBoundsProbe"; }
    void setBounds(int left, int top, int width, int height) override {
        calls.push_back({left, top, width, height});
        Control::setBounds(left, top, width, height);
    }
    std::vector<std::vector<int>> calls;
};

class TestForm : public Form {
public:
    using Form::Form;
    std::string className() const override { return "TTestForm"; }
};
