#pragma once

#include "Pose.h"

namespace kuvito::art {

// The four drawn poses. The two right-facing frames are these left-facing
// ones mirrored, so they have no poses of their own.
Pose leapPose();     // Rgn1: in mid-leap, hands up, looking up
Pose crouchPose();   // Rgn2: crouched on one foot, hands together
Pose stridePose();   // Rgn3: running stride, hand at the mouth
Pose highStepPose(); // Rgn4: high step, knee up, tail out

} // namespace kuvito::art
