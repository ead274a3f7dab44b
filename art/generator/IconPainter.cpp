#include "IconPainter.h"

#include "EllipseShape.h"

namespace kuvito::art {

namespace {

// Head geometry in icon pixels.
const EllipseShape head({16.0, 16.7}, 16.05, 14.5);
const EllipseShape eye({14.4, 13.6}, 6.3, 7.3);
const EllipseShape pupil({13.5, 12.9}, 1.6, 2.1);
const EllipseShape mouth({15.0, 23.6}, 3.9, 4.0, 0.0, 0.0);
const EllipseShape tongue({15.3, 26.8}, 2.4, 1.5);
const EllipseShape leftCheek({6.0, 21.5}, 2.0, 1.2);
const EllipseShape rightCheek({24.5, 21.5}, 2.0, 1.2);

bool inside(const Shape& s, int x, int y) {
    return s.sample(Vec2{x + 0.5, y + 0.5}).has_value();
}

} // namespace

IconImage IconPainter::paint() const {
    IconImage icon;
    auto set = [&](int x, int y, std::uint8_t v) { icon.index[std::size_t(y * iconSize + x)] = v; };
    for (int y = 0; y < iconSize; ++y) {
        for (int x = 0; x < iconSize; ++x) {
            icon.transparent[std::size_t(y * iconSize + x)] = !inside(head, x, y);
        }
    }
    auto onHead = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < iconSize && y < iconSize && !icon.clear(x, y);
    };
    for (int y = 0; y < iconSize; ++y) {
        for (int x = 0; x < iconSize; ++x) {
            if (!onHead(x, y)) {
                continue;
            }
            bool rim = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    rim = rim || !onHead(x + dx, y + dy);
                }
            }
            const auto s = head.sample(Vec2{x + 0.5, y + 0.5});
            // The same upper-left light as the frames: the lower right falls
            // into dark green, with a checkerboard seam between the two.
            const double lambert = -0.5 * s->nx - 0.62 * s->ny + 0.6 * s->nz;
            std::uint8_t colour = green;
            if (lambert < -0.05 || (lambert < 0.10 && (x + y) % 2 == 0)) {
                colour = darkGreen;
            }
            if (rim) {
                colour = black;
            } else if (inside(eye, x, y)) {
                colour = white;
                const auto e = eye.sample(Vec2{x + 0.5, y + 0.5});
                if (e->depth < 0.16) {
                    colour = black;
                } else if (e->nx + e->ny > 0.95) {
                    colour = lightGrey;
                }
                if (inside(pupil, x, y)) {
                    colour = black;
                }
            } else if (inside(mouth, x, y)) {
                const auto m = mouth.sample(Vec2{x + 0.5, y + 0.5});
                colour = m->depth < 0.3 ? black : darkRed;
                if (colour == darkRed && inside(tongue, x, y)) {
                    colour = red;
                }
            } else if (inside(leftCheek, x, y) || inside(rightCheek, x, y)) {
                colour = (x + y) % 2 == 0 ? magenta : white;
            }
            set(x, y, colour);
        }
    }
    return icon;
}

} // namespace kuvito::art
