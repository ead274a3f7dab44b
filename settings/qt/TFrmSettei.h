#pragma once

#include "Form.h"
#include "MovementModes.h"
#include "SettingsDialogValues.h"

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QSlider;

// TFrmSettei (settei: settings). The settings dialog: movement behaviour, always-on-top, speed and step
// size. The opener creates one for each showing, places it, shows it modally
// and releases it. OK stores the values in kuvito.ini and calls what the
// opener gave it (the mascot window's ApplySettings), so that they act at
// once; Cancel, Esc and the close box change nothing.
//
// The controls are built from settingsDialogDesign(); what they hold maps to
// the settings through SettingsDialogValues, as on every toolkit.
class TFrmSettei : public Form {
public:
    // applyOnMascot: what OK calls once the settings are stored.
    explicit TFrmSettei(std::function<void()> applyOnMascot, Component* owner = nullptr);
    ~TFrmSettei() override;

    std::string className() const override { return "TFrmSettei"; }

    QLabel* Panel1 = nullptr;
    QLabel* Panel2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QSlider* TrBar = nullptr; // speed index
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QSlider* TrBarIdouR = nullptr; // step index (idou ryou: amount of movement)
    QLabel* Label6 = nullptr;
    QLabel* Label5 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QLabel* Panel3 = nullptr;
    QCheckBox* CbxTemae = nullptr; // stay on top (temae: in front)

    // Cancel: closes without changing anything.
    void Button2Click();
    // OK: writes the four settings, calls applyOnMascot and closes. When the file cannot be written the error
    // is shown and the dialog stays open with the user's values.
    void Button1Click();
    // Fills the controls from the program-wide settings; runs on every show.
    void FormShow();

    // The movement mode of the selected option button.
    int selectedMoveMode() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What the controls hold now.
    SettingsDialogValues shownValues() const;

    // RadioButton1 to RadioButton5: one option per row of kMovementModes.
    std::array<QRadioButton*, kMovementModes.size()> options_{};
    std::function<void()> applyOnMascot_;
};

// The settings dialog while its opener holds it, otherwise null.
extern TFrmSettei* FrmSettei;
