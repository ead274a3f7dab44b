#include "TFrmSettei.h"

#include <utility>

#include "ConfirmSettings.h"
#include "DialogDesign.h"
#include "ProgramState.h"
#include "Win32SettingsValues.h"

TFrmSettei* FrmSettei = nullptr;

TFrmSettei::TFrmSettei(std::function<void()> applyOnMascot, Component* owner)
    : Win32DialogForm(owner, settingsDialogDesign()), applyOnMascot_(std::move(applyOnMascot)) {}

TFrmSettei::~TFrmSettei() {
    if (FrmSettei == this)
        FrmSettei = nullptr;
}

void TFrmSettei::shown() {
    Win32DialogForm::shown();
    FormShow();
    // The selected option, which takes the tab stop, is known only now.
    focusFirstTabStop();
}

void TFrmSettei::clicked(const std::string& name) {
    if (name == "Button1")
        Button1Click();
    else if (name == "Button2")
        Button2Click();
}

void TFrmSettei::FormShow() {
    Win32SettingsValues::show(controls(),
                              valuesToShow(programState().settings, Win32SettingsValues::read(controls())));
}

int TFrmSettei::selectedMoveMode() const {
    return moveModeOfOption(Win32SettingsValues::read(controls()).option);
}

void TFrmSettei::Button1Click() {
    if (confirmSettings(Win32SettingsValues::read(controls()), applyOnMascot_))
        accept();
}

void TFrmSettei::Button2Click() {
    reject();
}
