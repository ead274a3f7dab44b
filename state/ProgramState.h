#pragma once

#include "MascotSettings.h"
#include "MovementState.h"

// All program-wide mutable state, in one object. Its values on construction
// are those before the mascot window exists. Only the user-interface thread
// reads or writes it.
struct ProgramState {
    MascotSettings settings;
    MovementState movement;
};

// The one program-wide state.
ProgramState& programState();

// Puts every value back to how it was before the mascot window existed, so
// that each test starts from a fresh state.
void resetProgramState();
