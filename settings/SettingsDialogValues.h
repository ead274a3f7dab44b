#pragma once

#include <cstddef>

#include "MascotSettings.h"

// What the settings dialog's controls hold, and how they map to the four
// settings, for every toolkit alike: option N (counted from 0 along
// kMovementModes) is that row's mode, the check box is stay-on-top, and each
// slider's position is its index.
struct SettingsDialogValues {
    int speedPosition = 5;
    int stepPosition = 5;
    bool stayOnTop = false;
    std::size_t option = 0;
    bool operator==(const SettingsDialogValues&) const = default;
};

// The slider range; a position outside it is taken to the nearer end, as a
// slider does.
int clampToSlider(int position);

// What the dialog shows for `settings` when it currently shows `shown`: the
// sliders clamped, the check box, and the option of the stored mode, or, for
// a mode no option stands for, the option already selected.
SettingsDialogValues valuesToShow(const MascotSettings& settings, const SettingsDialogValues& shown);

// The movement mode that option stands for, as stored in the settings file.
int moveModeOfOption(std::size_t option);
