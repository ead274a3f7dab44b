#pragma once

#include <QWidget>

#include <map>
#include <string>

#include "DialogDesign.h"

class Form;

// Builds a dialog described by a DialogDesign as Qt widgets on its form:
// the fixed dialog window, every control named after its design, the fonts,
// labels fitted to their texts, the tab order and the default button. What
// the buttons do is the dialog's own business.
class QtDialogBuilder {
public:
    QtDialogBuilder(Form& dialog, const DialogDesign& design);

    // The widget made for the control of that name, or null when there is
    // none of that type.
    template <typename W> W* control(const std::string& name) const {
        const auto it = widgets_.find(name);
        return it == widgets_.end() ? nullptr : qobject_cast<W*>(it->second);
    }

private:
    QWidget* make(const ControlDesign& c, QWidget* parent);

    std::map<std::string, QWidget*> widgets_;
};
