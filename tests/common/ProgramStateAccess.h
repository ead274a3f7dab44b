#pragma once

#include "ProgramState.h"

// Short ways for tests to read and set the program-wide state.
inline MascotSettings& settings() {
    return programState().settings;
}
inline MovementState& movement() {
    return programState().movement;
}

// The headings by name, for tables of cases.
inline constexpr HorizontalHeading Rightward = HorizontalHeading::Rightward;
inline constexpr HorizontalHeading Leftward = HorizontalHeading::Leftward;
inline constexpr VerticalHeading Upward = VerticalHeading::Upward;
inline constexpr VerticalHeading Downward = VerticalHeading::Downward;
