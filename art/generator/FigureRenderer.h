#pragma once

#include "Part.h"
#include "Raster.h"
#include "ShadeColour.h"

#include <vector>

namespace kuvito::art {

// Turns a back-to-front list of parts into a frame. The figure's edge is
// hard: a pixel belongs to the figure when its centre lies in some part, and
// every figure pixel touching the background, even only at a corner, is
// painted in the edge colour. Inside the figure, colours are lit and
// averaged over sub-pixel samples, so shading is smooth.
class FigureRenderer {
public:
    static constexpr Rgb background{0, 128, 192};
    static constexpr Rgb edge{31, 31, 31};
    static constexpr Rgb crevice{10, 84, 60};

    FigureRenderer(int width, int height);

    // With fillPockets, background that the figure encloses is painted as
    // a shadowed crevice instead of being left see-through.
    Raster render(const std::vector<Part>& parts, bool fillPockets) const;

private:
    std::vector<int> owners(const std::vector<Part>& parts) const;
    void fillEnclosed(std::vector<int>& owner) const;
    ShadeColour shade(const std::vector<Part>& parts, int index, Vec2 p) const;
    ShadeColour pixelColour(const std::vector<Part>& parts, int index, int x, int y) const;
    bool touchesBackground(const std::vector<int>& owner, int x, int y) const;
    bool overlapsPartBehind(const std::vector<Part>& parts, const std::vector<int>& owner, int x,
                            int y) const;

    int width_;
    int height_;
};

} // namespace kuvito::art
