#pragma once

#include "MovementMode.h"

// The user settings. The values are taken as stored: nothing here
// checks their ranges, each consumer ignores a value it cannot map.
struct MascotSettings {
    bool StayOnTop = false;  // the mascot window stays above all normal windows
    MovementMode MoveMode{}; // which mover runs on each tick (idou)
    int SpeedIndex = 0;      // 0 (fastest) to 10: the movement timer's period (speed)
    int StepIndex = 0;       // 0 (largest) to 10: the pixels of one step (idour)
    // The character steps aside while the window in front is full screen on
    // its monitor (zengamen); on unless the user switched it off.
    bool hideForFullScreen = true;
};
