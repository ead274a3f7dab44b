#include "CharacterModel.h"

#include "EllipseShape.h"
#include "StrokeShape.h"

namespace kuvito::art {

namespace {

// Group numbers: parts of one group (a leg and its foot, the eye and its
// pupil) meet without a line between them.
enum Group {
    tailGroup,
    farLegGroup,
    farArmGroup,
    bodyGroup,
    nearLegGroup,
    headGroup,
    nearArmGroup,
    eyeGroup,
    cheekGroup,
    mouthGroup
};

constexpr Rgb limbLine{16, 66, 40};

const Material skin{{12, 128, 86}, {22, 235, 91}, {186, 255, 166}, 0.30, 18.0, limbLine};
// The big round head catches a small, sharper highlight, like a ball.
const Material headSkin{{12, 128, 86}, {22, 235, 91}, {186, 255, 166}, 0.55, 40.0, limbLine};
// Limbs on the far side sit a little in shadow, which separates them from
// the near ones at a glance.
const Material farSkin{{8, 96, 70}, {18, 196, 84}, {128, 240, 136}, 0.15, 18.0, limbLine};
const Material eyeWhite{{176, 190, 212}, {246, 248, 252}, {255, 255, 255}, 0.0, 1.0, Rgb{28, 44, 40}};
const Material pupil{{0, 0, 0}, {18, 18, 26}, {60, 62, 74}, 0.0, 1.0, std::nullopt};
const Material catchlight{{228, 232, 240}, {255, 255, 255}, {255, 255, 255}, 0.0, 1.0, std::nullopt};
const Material cheek{{240, 96, 130}, {255, 128, 158}, {255, 170, 190}, 0.0, 1.0, std::nullopt, 0.45, 1.0};
const Material mouth{{86, 8, 26}, {132, 20, 44}, {170, 44, 64}, 0.0, 1.0, Rgb{40, 16, 24}};
// A soft glint on the head, on the side the light comes from.
const Material shine{{200, 255, 190}, {226, 255, 214}, {246, 255, 240}, 0.0, 1.0, std::nullopt, 0.9, 0.75};
const Material tongue{{214, 86, 110}, {250, 122, 146}, {255, 160, 178}, 0.0, 1.0, std::nullopt};

std::shared_ptr<const Shape> stroke(const std::vector<StrokeNode>& nodes) {
    return std::make_shared<StrokeShape>(nodes);
}

std::shared_ptr<const Shape> ellipse(Vec2 c, double rx, double ry, double angle = 0.0, double cut = -2.0) {
    return std::make_shared<EllipseShape>(c, rx, ry, angle, cut);
}

std::shared_ptr<const Shape> foot(const Foot& f) {
    return ellipse(f.centre, f.rx, f.ry, f.angle);
}

int add(std::vector<Part>& parts, std::shared_ptr<const Shape> shape, const Material& m, int group,
        int host = -1) {
    parts.push_back(Part{std::move(shape), m, group, host});
    return int(parts.size()) - 1;
}

} // namespace

std::vector<Part> CharacterModel::parts(const Pose& pose) const {
    std::vector<Part> parts;
    add(parts, stroke(pose.tail), skin, tailGroup);
    add(parts, stroke(pose.farLeg), farSkin, farLegGroup);
    add(parts, foot(pose.farFoot), farSkin, farLegGroup);
    if (!pose.farArmOverBody) {
        add(parts, stroke(pose.farArm), farSkin, farArmGroup);
    }
    add(parts, ellipse(pose.body, bodyRx, bodyRy, pose.bodyTilt), skin, bodyGroup);
    if (pose.farArmOverBody) {
        add(parts, stroke(pose.farArm), farSkin, farArmGroup);
    }
    add(parts, stroke(pose.nearLeg), skin, nearLegGroup);
    add(parts, foot(pose.nearFoot), skin, nearLegGroup);
    if (!pose.nearArmOverHead) {
        add(parts, stroke(pose.nearArm), skin, nearArmGroup);
    }
    const int head = add(parts, ellipse(pose.head, headRx, headRy, pose.headTilt), headSkin, headGroup);
    addFace(parts, pose, head);
    if (pose.nearArmOverHead) {
        add(parts, stroke(pose.nearArm), skin, nearArmGroup);
    }
    return parts;
}

void CharacterModel::addFace(std::vector<Part>& parts, const Pose& pose, int head) const {
    const bool profile = pose.facing == Facing::Left;
    // Face positions are given in head radii and turn with the head.
    auto onHead = [&](double u, double v) {
        return pose.head + Vec2{u * headRx, v * headRy}.rotated(pose.headTilt);
    };
    const double tilt = pose.headTilt;

    const Vec2 shineCentre = profile ? onHead(0.22, -0.66) : onHead(-0.62, -0.48);
    add(parts, ellipse(shineCentre, 3.2, 1.9, tilt - 35.0), shine, cheekGroup, head);

    const Vec2 eyeCentre = profile ? onHead(-0.32, -0.24) : onHead(-0.10, -0.14);
    const double eyeRx = profile ? 5.8 : 7.0;
    const double eyeRy = profile ? 7.4 : 8.0;
    const int eye = add(parts, ellipse(eyeCentre, eyeRx, eyeRy, tilt), eyeWhite, eyeGroup, head);
    const Vec2 pupilCentre = eyeCentre + Vec2{pose.gaze.x * eyeRx * 0.55, pose.gaze.y * eyeRy * 0.55};
    const int pupilPart = add(parts, ellipse(pupilCentre, 2.2, 2.8, tilt), pupil, eyeGroup, eye);
    add(parts, ellipse(pupilCentre + Vec2{-0.7, -1.0}, 0.75, 0.75), catchlight, eyeGroup, pupilPart);

    if (profile) {
        add(parts, ellipse(onHead(-0.24, 0.50), 3.4, 2.5, tilt), cheek, cheekGroup, head);
    } else {
        add(parts, ellipse(onHead(-0.62, 0.38), 3.4, 2.6, tilt), cheek, cheekGroup, head);
        add(parts, ellipse(onHead(0.50, 0.38), 3.0, 2.6, tilt), cheek, cheekGroup, head);
    }

    const Vec2 mouthCentre = profile ? onHead(-0.63, 0.36) : onHead(-0.20, 0.46);
    const int mouthPart = add(parts, ellipse(mouthCentre, 3.8, 3.6, tilt, 0.0), mouth, mouthGroup, head);
    add(parts, ellipse(mouthCentre + Vec2{0.3, 2.6}.rotated(tilt), 2.4, 1.6, tilt), tongue, mouthGroup,
        mouthPart);
}

} // namespace kuvito::art
