#pragma once

#include "Heading.h"

// What the movement ticks carry from one tick to the next.
struct MovementState {
    int StepSize = 0;         // pixels of one step, set only by ApplySettings
    HorizontalHeading DirX{}; // sideways heading
    VerticalHeading DirY{};   // up-or-down heading
    int PauseBeats = 0;       // beats of the current pause shown so far
    unsigned char Phase = 0;  // 0 or 1: which frame of a pair comes next
};
