#pragma once

#include <functional>

#include "SettingsDialogValues.h"

// What OK in the settings dialog does, on every toolkit alike: stores the
// values in kuvito.ini (WriteSettings) and then calls applyOnMascot, so that
// they act at once. When the file cannot be written the error is shown,
// applyOnMascot is not called and the answer is false: the dialog stays open
// with the user's values. Any other failure is left to the caller.
bool confirmSettings(const SettingsDialogValues& values, const std::function<void()>& applyOnMascot);
