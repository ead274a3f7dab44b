#include "MascotSettings.h"

bool StayOnTop = false;
int MoveMode = 0;
int SpeedIndex = 0;
int StepIndex = 0;

std::function<void()> ApplySettingsOnMascot;

void applySettingsOnMascot() {
    if (ApplySettingsOnMascot)
        ApplySettingsOnMascot();
}

void resetMascotSettings() {
    StayOnTop = false;
    MoveMode = 0;
    SpeedIndex = 0;
    StepIndex = 0;
    ApplySettingsOnMascot = nullptr;
}
