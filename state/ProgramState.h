#pragma once

#include <functional>

#include "MascotSettings.h"
#include "MovementState.h"

// All program-wide mutable state, in one object. Its values on construction
// are those before the mascot window exists. Only the user-interface thread
// reads or writes it.
struct ProgramState {
    MascotSettings settings;
    MovementState movement;
    // Set by the mascot window while it exists, so that the settings dialog
    // can re-apply the settings after OK without knowing the window's class.
    std::function<void()> ApplySettingsOnMascot;
};

// The one program-wide state.
ProgramState& programState();

// Puts every value back to how it was before the mascot window existed and
// forgets ApplySettingsOnMascot, so that each test starts from a fresh state.
void resetProgramState();

// Calls ApplySettingsOnMascot when it is set.
void applySettingsOnMascot();
