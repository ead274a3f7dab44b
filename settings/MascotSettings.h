#pragma once

#include <functional>

// The four user settings, program-wide. They live in this lower library
// (rather than with the mascot window) so that the settings store and the
// settings dialog can read and write them without depending on the window.
// The values are taken as stored: nothing here checks their ranges, each
// consumer ignores a value it cannot map.
extern bool StayOnTop; // the mascot window stays above all normal windows
extern int MoveMode;   // 1 chase, 2 screen, 3 taskbar, 4 window top, 5 in place
extern int SpeedIndex; // 0 (fastest) to 10: the movement timer's period
extern int StepIndex;  // 0 (largest) to 10: the pixels of one step

// Set by the mascot window when it is created, so that the settings dialog
// can re-apply the settings after OK without knowing the window's class.
// Empty while no mascot window exists.
extern std::function<void()> ApplySettingsOnMascot;

// Calls ApplySettingsOnMascot when it is set.
void applySettingsOnMascot();

// Puts every setting back to its value before the mascot window existed
// (false, 0, 0, 0) and forgets ApplySettingsOnMascot. For tests.
void resetMascotSettings();
