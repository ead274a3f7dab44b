#pragma once

#include "Foot.h"
#include "StrokeNode.h"
#include "Vec2.h"

#include <vector>

namespace kuvito::art {

// Which way the face points. Half left shows both cheeks with the eye just
// left of the middle; facing left is a profile with the face at the front.
enum class Facing { HalfLeft, Left };

// Everything that changes from one frame to the next. Sizes that make the
// character itself (head, body and limb thickness) are shared by all poses
// and live in CharacterModel, so every frame shows the same creature.
struct Pose {
    Facing facing = Facing::Left;
    Vec2 head;
    double headTilt = 0.0; // degrees; positive lifts the face (left side) up
    Vec2 gaze;             // pupil offset in eye radii, -1 to 1 each way
    Vec2 body;
    double bodyTilt = 0.0; // degrees; negative leans the top to the left
    std::vector<StrokeNode> tail;
    std::vector<StrokeNode> farLeg;
    Foot farFoot;
    std::vector<StrokeNode> farArm;
    std::vector<StrokeNode> nearLeg;
    Foot nearFoot;
    std::vector<StrokeNode> nearArm;
    // Drawing the near arm in front of the head lets a hand rest on the face.
    bool nearArmOverHead = true;
    // Hands held in front of the chest need the far arm in front of the body.
    bool farArmOverBody = false;
    // Small pockets of background that limbs close off are filled in as
    // shadowed crevices unless the pose wants them see-through.
    bool fillPockets = true;
};

} // namespace kuvito::art
