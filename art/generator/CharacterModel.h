#pragma once

#include "Part.h"
#include "Pose.h"

#include <vector>

namespace kuvito::art {

// The creature itself: a big round head with one big eye, a small body,
// short arms, two legs and a long tapering tail, in its colours. It turns a
// pose into the back-to-front list of parts that FigureRenderer draws.
class CharacterModel {
public:
    static constexpr double headRx = 15.5;
    static constexpr double headRy = 13.6;
    static constexpr double bodyRx = 11.0;
    static constexpr double bodyRy = 12.5;

    std::vector<Part> parts(const Pose& pose) const;

private:
    void addFace(std::vector<Part>& parts, const Pose& pose, int head) const;
};

} // namespace kuvito::art
