#pragma once

#include "Component.h"
#include "Events.h"

class TPopupMenu;

// One item of a popup menu. Caption "-" makes it a separator line; "&" marks
// the access key. Clicking it calls OnClick through the error display.
class TMenuItem : public Component {
public:
    explicit TMenuItem(Component* owner);
    ~TMenuItem() override;

    std::string className() const override { return "TMenuItem"; }

    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    bool Visible() const { return visible_; }
    void setVisible(bool on);
    bool Checked() const { return checked_; }
    void setChecked(bool on);
    const TNotifyEvent& OnClick() const { return onClick_; }
    void setOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }

    // Runs OnClick as a click of the item does (errors shown, not thrown).
    void Click();

    TPopupMenu* menu() const { return menu_; }

    // A TPopupMenu parent adds the item to its end.
    void setParentComponent(Component* parent) override;
    bool readProperty(const std::string& path, const FormValue& value) override;
    void writeProperties(PropertyWriter& writer) const override;

private:
    friend class TPopupMenu;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    TNotifyEvent onClick_;
    TPopupMenu* menu_ = nullptr;
    // The item's number in its menu's desktop menu; 0 while it has none.
    int number_ = 0;
};
