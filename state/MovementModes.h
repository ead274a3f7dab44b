#pragma once

#include <array>

#include "MovementMode.h"

// What a mover reads from the desktop, besides the screen's size, to decide
// where the character goes. A session that keeps one of them from the
// program limits every mode that reads it.
struct DesktopReadings {
    bool pointer = false;
    bool frontWindow = false;
    bool panel = false;
};

// One movement mode: its value, the id of its option's caption in the
// settings dialog (text/languages; a message that names the mode calls it the
// same, so that the user knows it by what they choose it by) and what its
// mover reads.
struct MovementModeRow {
    MovementMode mode;
    const char* captionId;
    DesktopReadings reads;
};

// Every movement mode, in the settings dialog's order. Everything that
// counts, lists or names the modes reads this table; the mascot window keeps
// one mover for each row (TFrmMain::moverFor).
inline constexpr std::array kMovementModes{
    MovementModeRow{MovementMode::ChaseMouse, "mode.chase", {.pointer = true}},
    MovementModeRow{MovementMode::WanderScreen, "mode.wanderScreen", {}},
    MovementModeRow{MovementMode::WanderTaskbar, "mode.wanderTaskbar", {.panel = true}},
    MovementModeRow{MovementMode::WalkOnWindow, "mode.walkOnWindow", {.frontWindow = true}},
    MovementModeRow{MovementMode::StepInPlace, "mode.stepInPlace", {.pointer = true}},
};

// The row of a mode, or null for a stored value that names none.
constexpr const MovementModeRow* movementModeRow(MovementMode mode) {
    for (const MovementModeRow& row : kMovementModes)
        if (row.mode == mode)
            return &row;
    return nullptr;
}
