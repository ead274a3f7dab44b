#include "SettingsDialogValues.h"

#include <algorithm>

#include "DialogDesign.h"
#include "MovementModes.h"

int clampToSlider(int position) {
    const SliderDesign& range = settingsDialogDesign().sliders;
    return std::clamp(position, range.minimum, range.maximum);
}

SettingsDialogValues valuesToShow(const MascotSettings& settings, const SettingsDialogValues& shown) {
    SettingsDialogValues v = shown;
    v.stayOnTop = settings.StayOnTop;
    for (std::size_t i = 0; i < kMovementModes.size(); ++i)
        if (kMovementModes[i].mode == settings.MoveMode)
            v.option = i;
    v.speedPosition = clampToSlider(settings.SpeedIndex);
    v.stepPosition = clampToSlider(settings.StepIndex);
    return v;
}

int moveModeOfOption(std::size_t option) {
    if (option >= kMovementModes.size())
        option = 0;
    return static_cast<int>(kMovementModes[option].mode);
}
