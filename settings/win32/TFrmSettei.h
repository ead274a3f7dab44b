#pragma once

#include <functional>
#include <string>

#include "SettingsDialogValues.h"
#include "Win32DialogForm.h"

// TFrmSettei (settei: settings) on Windows: the settings dialog built of
// Windows' own controls from settingsDialogDesign(). As on every toolkit,
// the opener creates one for each showing, places it, shows it modally and
// releases it; OK stores the values in kuvito.ini and calls what the opener
// gave it, Cancel, Esc and the close box change nothing. What the controls
// hold maps to the settings through SettingsDialogValues.
class TFrmSettei : public Win32DialogForm {
public:
    // applyOnMascot: what OK calls once the settings are stored.
    explicit TFrmSettei(std::function<void()> applyOnMascot, Component* owner = nullptr);
    ~TFrmSettei() override;

    std::string className() const override { return "TFrmSettei"; }

    // Cancel: closes without changing anything.
    void Button2Click();
    // OK: writes the four settings, calls applyOnMascot and closes. When the
    // file cannot be written the error is shown and the dialog stays open
    // with the user's values.
    void Button1Click();
    // Fills the controls from the program-wide settings; runs on every show.
    void FormShow();

    // The movement mode of the selected option button.
    int selectedMoveMode() const;

protected:
    void shown() override;
    void clicked(const std::string& name) override;

private:
    std::function<void()> applyOnMascot_;
};

// The settings dialog while its opener holds it, otherwise null.
extern TFrmSettei* FrmSettei;
