#pragma once

#include <string>

#include "Win32DialogForm.h"

// TFrmVer (Ver: version) on Windows: the about box built of Windows' own
// controls from aboutDialogDesign(). The opener creates one for each
// showing, places it, shows it modally and releases it. It closes only
// through its OK button (click, Enter) or the close box; having no cancel
// button, it ignores Esc.
class TFrmVer : public Win32DialogForm {
public:
    explicit TFrmVer(Component* owner = nullptr);
    ~TFrmVer() override;

    std::string className() const override { return "TFrmVer"; }

    // OK: closes the dialog.
    void Button1Click();

protected:
    void clicked(const std::string& name) override;
};

// The about dialog while its opener holds it, otherwise null.
extern TFrmVer* FrmVer;
