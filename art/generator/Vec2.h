#pragma once

#include <cmath>

namespace kuvito::art {

// A point or direction in frame pixels: x grows rightward, y downward, and a
// pixel's centre lies at its column and row plus one half.
struct Vec2 {
    double x = 0.0;
    double y = 0.0;

    Vec2 operator+(Vec2 o) const { return {x + o.x, y + o.y}; }
    Vec2 operator-(Vec2 o) const { return {x - o.x, y - o.y}; }
    Vec2 operator*(double s) const { return {x * s, y * s}; }
    double dot(Vec2 o) const { return x * o.x + y * o.y; }
    double length() const { return std::hypot(x, y); }

    // Turns the vector by an angle in degrees; positive turns clockwise on
    // screen because y grows downward.
    Vec2 rotated(double degrees) const {
        const double a = degrees * 3.14159265358979323846 / 180.0;
        const double c = std::cos(a);
        const double s = std::sin(a);
        return {x * c - y * s, x * s + y * c};
    }
};

} // namespace kuvito::art
