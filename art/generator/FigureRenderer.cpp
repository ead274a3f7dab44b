#include "FigureRenderer.h"

#include <cmath>

namespace kuvito::art {

namespace {

// Light comes from the upper left and somewhat from the front; the vector
// has unit length.
constexpr double lightX = -0.5014;
constexpr double lightY = -0.6217;
constexpr double lightZ = 0.6017;

// A surface turned straight to the viewer gets exactly the mid-tone.
constexpr double facingLambert = lightZ;

// Sub-pixel samples per axis for the inside colours.
constexpr int subSamples = 4;

// Owner codes of pixels that belong to no part.
constexpr int backgroundOwner = -1;
constexpr int creviceOwner = -2;

// Light bounced up from the ground gives the shadow side a cool rim, which
// keeps the dark side from going flat.
constexpr double bounceX = 0.35;
constexpr double bounceY = 0.80;
constexpr double bounceZ = 0.10;
constexpr double bounceStrength = 0.28;
const ShadeColour bounceTint{40, 200, 190};

ShadeColour litColour(const Material& m, const SurfacePoint& s) {
    const double lambert = s.nx * lightX + s.ny * lightY + s.nz * lightZ;
    ShadeColour c;
    if (lambert < facingLambert) {
        const double t = (lambert + 0.35) / (facingLambert + 0.35);
        c = mix(ShadeColour::of(m.shadow), ShadeColour::of(m.mid), t);
    } else {
        const double t = (lambert - facingLambert) / (1.0 - facingLambert);
        c = mix(ShadeColour::of(m.mid), ShadeColour::of(m.light), t);
    }
    const double bounce = std::max(0.0, s.nx * bounceX + s.ny * bounceY + s.nz * bounceZ);
    c = mix(c, mix(c, bounceTint, 0.5), bounceStrength * bounce * bounce * 2.0);
    if (m.specular > 0.0) {
        // Blinn highlight with the viewer straight in front.
        const double hx = lightX;
        const double hy = lightY;
        const double hz = lightZ + 1.0;
        const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
        const double nh = std::max(0.0, (s.nx * hx + s.ny * hy + s.nz * hz) / hl);
        c = mix(c, ShadeColour{255, 255, 255}, m.specular * std::pow(nh, m.shininess));
    }
    return c;
}

} // namespace

FigureRenderer::FigureRenderer(int width, int height) : width_(width), height_(height) {}

std::vector<int> FigureRenderer::owners(const std::vector<Part>& parts) const {
    std::vector<int> owner(std::size_t(width_) * std::size_t(height_), -1);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Vec2 centre{x + 0.5, y + 0.5};
            int visible = -1;
            for (int i = 0; i < int(parts.size()); ++i) {
                const Part& part = parts[std::size_t(i)];
                const bool eligible = part.host < 0 || part.host == visible;
                if (eligible && part.shape->sample(centre)) {
                    visible = i;
                }
            }
            owner[std::size_t(y * width_ + x)] = visible;
        }
    }
    return owner;
}

void FigureRenderer::fillEnclosed(std::vector<int>& owner) const {
    // Background reachable from the picture's border stays background;
    // whatever background is left is enclosed by the figure.
    std::vector<char> open(owner.size(), 0);
    std::vector<int> pending;
    auto visit = [&](int x, int y) {
        const std::size_t i = std::size_t(y * width_ + x);
        if (owner[i] == backgroundOwner && !open[i]) {
            open[i] = 1;
            pending.push_back(int(i));
        }
    };
    for (int x = 0; x < width_; ++x) {
        visit(x, 0);
        visit(x, height_ - 1);
    }
    for (int y = 0; y < height_; ++y) {
        visit(0, y);
        visit(width_ - 1, y);
    }
    while (!pending.empty()) {
        const int i = pending.back();
        pending.pop_back();
        const int x = i % width_;
        const int y = i / width_;
        if (x > 0)
            visit(x - 1, y);
        if (x + 1 < width_)
            visit(x + 1, y);
        if (y > 0)
            visit(x, y - 1);
        if (y + 1 < height_)
            visit(x, y + 1);
    }
    for (std::size_t i = 0; i < owner.size(); ++i) {
        if (owner[i] == backgroundOwner && !open[i]) {
            owner[i] = creviceOwner;
        }
    }
}

ShadeColour FigureRenderer::shade(const std::vector<Part>& parts, int index, Vec2 p) const {
    const Part& part = parts[std::size_t(index)];
    const auto surface = part.shape->sample(p);
    if (!surface) {
        return part.host >= 0 ? shade(parts, part.host, p) : ShadeColour{-1, -1, -1};
    }
    ShadeColour colour = litColour(part.material, *surface);
    if (part.host >= 0 && (part.material.softness > 0.0 || part.material.opacity < 1.0)) {
        double alpha = part.material.opacity;
        if (part.material.softness > 0.0) {
            alpha *= std::min(1.0, surface->depth / part.material.softness);
        }
        colour = mix(shade(parts, part.host, p), colour, alpha);
    }
    return colour;
}

ShadeColour FigureRenderer::pixelColour(const std::vector<Part>& parts, int index, int x, int y) const {
    // Samples that fall outside the visible part are left out, so a part's
    // colour never bleeds into its neighbour's pixels.
    ShadeColour sum;
    int count = 0;
    for (int sy = 0; sy < subSamples; ++sy) {
        for (int sx = 0; sx < subSamples; ++sx) {
            const Vec2 p{x + (sx + 0.5) / subSamples, y + (sy + 0.5) / subSamples};
            if (!parts[std::size_t(index)].shape->sample(p)) {
                continue;
            }
            sum = sum + shade(parts, index, p);
            ++count;
        }
    }
    const ShadeColour colour = count == 0 ? shade(parts, index, Vec2{x + 0.5, y + 0.5}) : sum * (1.0 / count);
    // The light is near and to the upper left, so the figure is a touch
    // brighter toward that corner; it is darker in the last rows, where it
    // meets the ground.
    const double height = double(height_);
    const double sky = 1.05 - 0.12 * (0.35 * (x + 0.5) / width_ + 0.65 * (y + 0.5) / height);
    const double ground = 1.0 - 0.18 * std::max(0.0, (y + 0.5 - (height - 7.0)) / 7.0);
    return colour * (sky * ground);
}

bool FigureRenderer::touchesBackground(const std::vector<int>& owner, int x, int y) const {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_ ||
                owner[std::size_t(ny * width_ + nx)] == backgroundOwner) {
                return true;
            }
        }
    }
    return false;
}

bool FigureRenderer::overlapsPartBehind(const std::vector<Part>& parts, const std::vector<int>& owner, int x,
                                        int y) const {
    const int self = owner[std::size_t(y * width_ + x)];
    static constexpr int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : steps) {
        const int nx = x + step[0];
        const int ny = y + step[1];
        if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) {
            continue;
        }
        const int other = owner[std::size_t(ny * width_ + nx)];
        if (other == creviceOwner) {
            return true;
        }
        if (other >= 0 && other < self && parts[std::size_t(other)].group != parts[std::size_t(self)].group) {
            return true;
        }
    }
    return false;
}

Raster FigureRenderer::render(const std::vector<Part>& parts, bool fillPockets) const {
    std::vector<int> owner = owners(parts);
    if (fillPockets) {
        fillEnclosed(owner);
    }
    Raster out(width_, height_, background);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const int index = owner[std::size_t(y * width_ + x)];
            if (index == backgroundOwner) {
                continue;
            }
            if (index == creviceOwner) {
                out.set(x, y, touchesBackground(owner, x, y) ? edge : crevice);
                continue;
            }
            const Material& material = parts[std::size_t(index)].material;
            if (touchesBackground(owner, x, y)) {
                out.set(x, y, edge);
            } else if (material.outline && overlapsPartBehind(parts, owner, x, y)) {
                out.set(x, y, *material.outline);
            } else {
                out.set(x, y, pixelColour(parts, index, x, y).rounded());
            }
        }
    }
    return out;
}

} // namespace kuvito::art
