#pragma once

// The movement mode, named after the mover that runs it. The settings file
// stores it as the integer given here (the key idou). A stored value that
// names no row of kMovementModes is kept as it is: no mover runs for it and
// the settings dialog selects no option.
enum class MovementMode : int {
    ChaseMouse = 1,
    WanderScreen = 2,
    WanderTaskbar = 3,
    WalkOnWindow = 4,
    StepInPlace = 5,
};
