#pragma once

#include "SettingsDialogValues.h"

class Win32DialogBuilder;

// The settings dialog's values as its Windows controls hold them, so that a
// Windows settings dialog shows and stores them through the same mapping as
// the Qt one (SettingsDialogValues).
namespace Win32SettingsValues {

// What the controls hold now. With no option selected, the first option.
SettingsDialogValues read(const Win32DialogBuilder& controls);
// Puts values into the controls: the check box, the one selected option and
// both sliders.
void show(Win32DialogBuilder& controls, const SettingsDialogValues& values);

} // namespace Win32SettingsValues
