#pragma once

#include "Component.h"
#include "Events.h"

#include <vector>

class Control;
class TRgn;

// A non-visual component that gives its owner window the shape of chosen
// TRgn controls: AddRgn names them, ApplyRgn makes the window region the
// union of their outlines, lets exactly those paint and puts them in front,
// with every other windowless control of the owner in front of them.
class TRgnList : public Component {
public:
    explicit TRgnList(Component* owner);
    ~TRgnList() override;

    std::string className() const override { return "TRgnList"; }

    void AddRgn(TRgn* rgn);
    void ApplyRgn();

    bool AutoClear() const { return AutoClear_; }
    void setAutoClear(bool value) { AutoClear_ = value; }
    const TNotifyEvent& OnShowWnd() const { return OnShowWnd_; }
    void setOnShowWnd(TNotifyEvent handler) { OnShowWnd_ = std::move(handler); }

    const std::vector<TRgn*>& selection() const { return selection_; }

    void notification(Component* component, Operation operation) override;
    bool readProperty(const std::string& path, const FormValue& value) override;
    void writeProperties(PropertyWriter& writer) const override;

private:
    std::vector<TRgn*> selection_;
    std::vector<Control*> others_;
    bool AutoClear_ = true;
    TNotifyEvent OnShowWnd_;
};
