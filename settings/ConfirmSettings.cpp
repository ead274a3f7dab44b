#include "ConfirmSettings.h"

#include "ErrorDisplay.h"
#include "KuvitoError.h"
#include "SettingsStore.h"

bool confirmSettings(const SettingsDialogValues& values, const std::function<void()>& applyOnMascot) {
    try {
        WriteSettings(values.speedPosition, values.stepPosition, values.stayOnTop,
                      moveModeOfOption(values.option));
    } catch (const KuvitoError& error) {
        // The user keeps the values and may try again or cancel; the
        // mascot is not re-configured from a half-written file.
        ErrorDisplay::showException(error);
        return false;
    }
    if (applyOnMascot)
        applyOnMascot();
    return true;
}
