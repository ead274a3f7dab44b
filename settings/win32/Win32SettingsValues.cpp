#include "Win32SettingsValues.h"

#include <string>

#include "MovementModes.h"
#include "Win32DialogBuilder.h"

namespace {

// The option buttons are named after their place in kMovementModes, as the
// design names them.
std::string optionName(std::size_t option) {
    return "RadioButton" + std::to_string(option + 1);
}

} // namespace

namespace Win32SettingsValues {

SettingsDialogValues read(const Win32DialogBuilder& controls) {
    SettingsDialogValues v;
    v.speedPosition = controls.position("TrBar");
    v.stepPosition = controls.position("TrBarIdouR");
    v.stayOnTop = controls.isChecked("CbxTemae");
    for (std::size_t i = 0; i < kMovementModes.size(); ++i)
        if (controls.isChecked(optionName(i)))
            v.option = i;
    return v;
}

void show(Win32DialogBuilder& controls, const SettingsDialogValues& values) {
    controls.setChecked("CbxTemae", values.stayOnTop);
    controls.setChecked(optionName(values.option), true);
    controls.setPosition("TrBar", values.speedPosition);
    controls.setPosition("TrBarIdouR", values.stepPosition);
}

} // namespace Win32SettingsValues
