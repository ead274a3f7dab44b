#include "Poses.h"

namespace kuvito::art {

// Coordinates are frame pixels (53 x 87, row 0 at the top). The numbers are
// tuned by eye and so that each frame's figure fills exactly the columns and
// rows the program's window layout expects. After re-tuning, build the
// regenerate-art and contact-sheet targets, look at docs/contact-sheet.png,
// and run test_art: it checks the extents, the runs per row, the edge and
// that the checked-in files are what the generator now draws.

namespace {

// Limb thickness shared by all poses: legs are sturdier than arms, and an
// arm ends in a round hand a little wider than its wrist.
constexpr double hip = 4.2;
constexpr double knee = 3.9;
constexpr double ankle = 3.6;
constexpr double shoulder = 2.9;
constexpr double elbow = 2.7;
constexpr double hand = 3.2;

} // namespace

Pose leapPose() {
    Pose p;
    p.facing = Facing::HalfLeft;
    p.head = {26.0, 15.8};
    p.headTilt = 8.0;
    p.gaze = {-0.25, -0.75};
    p.body = {26.5, 38.0};
    p.tail = {{28.5, 45.0, 4.8}, {29.0, 62.0, 3.1}, {29.5, 85.6, 1.1}};
    p.farLeg = {{31.5, 46.0, hip}, {38.5, 47.5, knee}, {37.5, 54.5, ankle}};
    p.farFoot = {{39.5, 56.0}, 4.8, 3.0, -15.0};
    p.farArm = {{33.5, 29.5, shoulder}, {41.0, 26.5, elbow}, {44.8, 20.0, hand}};
    p.nearLeg = {{21.5, 46.0, hip}, {14.5, 47.5, knee}, {15.5, 54.5, ankle}};
    p.nearFoot = {{13.5, 56.0}, 4.8, 3.0, 15.0};
    p.nearArm = {{19.5, 29.5, shoulder}, {12.0, 26.5, elbow}, {8.2, 20.0, hand}};
    return p;
}

Pose crouchPose() {
    Pose p;
    p.facing = Facing::HalfLeft;
    p.head = {24.5, 28.9};
    p.headTilt = -8.0;
    p.gaze = {-0.35, 0.25};
    p.body = {25.0, 52.0};
    p.bodyTilt = -6.0;
    p.tail = {{33.0, 58.0, 4.6}, {39.0, 60.5, 3.6}, {42.6, 54.0, 2.6}, {42.0, 46.0, 1.7}, {39.0, 42.0, 1.0}};
    p.farLeg = {{28.5, 60.5, hip}, {22.5, 70.5, knee}, {29.0, 80.5, ankle}};
    p.farFoot = {{27.5, 83.8}, 6.0, 3.2, 0.0};
    p.farArm = {{33.0, 44.5, shoulder}, {34.5, 52.0, elbow}, {27.6, 45.5, hand}};
    p.farArmOverBody = true;
    p.nearLeg = {{20.5, 61.0, hip}, {13.5, 64.5, knee}, {13.0, 71.0, ankle}};
    p.nearFoot = {{12.0, 73.0}, 5.0, 3.0, -15.0};
    p.nearArm = {{17.0, 44.5, shoulder}, {15.5, 52.0, elbow}, {22.4, 45.5, hand}};
    p.fillPockets = false;
    return p;
}

Pose stridePose() {
    Pose p;
    p.facing = Facing::Left;
    p.head = {20.5, 36.7};
    p.headTilt = -3.0;
    p.gaze = {-0.45, 0.0};
    p.body = {29.0, 57.5};
    p.bodyTilt = -20.0;
    p.tail = {{37.0, 63.0, 4.6}, {43.5, 62.0, 3.6}, {47.0, 55.0, 2.5}, {46.5, 45.0, 1.0}};
    p.farLeg = {{33.0, 64.0, hip}, {38.0, 73.0, knee}, {41.0, 81.0, ankle}};
    p.farFoot = {{42.0, 83.8}, 5.0, 3.0, 0.0};
    p.farArm = {{32.0, 50.0, shoulder}, {38.0, 51.0, elbow}, {40.5, 47.0, hand}};
    p.nearLeg = {{25.0, 63.0, hip}, {18.0, 73.0, knee}, {13.0, 81.0, ankle}};
    p.nearFoot = {{9.5, 83.8}, 5.5, 3.0, 0.0};
    p.nearArm = {{24.0, 51.0, shoulder}, {14.0, 53.0, elbow}, {7.5, 45.5, hand}};
    return p;
}

Pose highStepPose() {
    Pose p;
    p.facing = Facing::Left;
    p.head = {18.5, 32.7};
    p.gaze = {-0.45, 0.0};
    p.body = {28.0, 53.5};
    p.bodyTilt = -10.0;
    p.tail = {{35.0, 56.0, 4.6}, {43.0, 57.0, 3.4}, {49.8, 55.5, 1.0}};
    p.farLeg = {{31.0, 60.0, hip}, {31.5, 71.0, knee}, {31.0, 81.0, ankle}};
    p.farFoot = {{29.5, 83.8}, 5.5, 3.0, 0.0};
    p.farArm = {{33.0, 48.0, shoulder}, {39.0, 49.0, elbow}, {42.0, 45.0, hand}};
    p.nearLeg = {{24.0, 60.0, hip}, {13.5, 58.5, knee}, {11.0, 69.0, ankle}};
    p.nearFoot = {{6.0, 71.5}, 5.0, 3.0, -25.0};
    p.nearArm = {{24.0, 49.0, shoulder}, {17.0, 52.0, elbow}, {13.0, 50.0, hand}};
    return p;
}

} // namespace kuvito::art
