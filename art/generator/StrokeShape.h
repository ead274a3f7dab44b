#pragma once

#include "Shape.h"
#include "StrokeNode.h"

#include <vector>

namespace kuvito::art {

// A round-ended stroke along a polyline whose half-width changes linearly
// from node to node: arms and legs are strokes of nearly even width, the
// tail one that tapers to a point. It is lit as a tube.
class StrokeShape : public Shape {
public:
    explicit StrokeShape(std::vector<StrokeNode> nodes);
    std::optional<SurfacePoint> sample(Vec2 p) const override;

private:
    std::vector<StrokeNode> nodes_;
};

} // namespace kuvito::art
