#pragma once

#include <cmath>

namespace pengui {

// The cosine and sine of a turned draw, and the origins it samples from, on a
// grid of 1/2048 pixel. Sums and products of whole pixel coordinates with
// them are exact (in float too while coordinates stay below 4096), so a
// buffer pixel samples the same picture point however the painted region is
// cut into tiles: a knob's pointer looks the same after a repaint of its box
// as after a repaint of the whole window. The grid moves a point at 30 pixels
// from the pivot by less than 1/60 pixel.
struct Rotation {
    static constexpr double grid = 2048;

    static double snap(double v) { return std::nearbyint(v * grid) / grid; }

    explicit Rotation(double angle) : c(snap(std::cos(angle))), s(snap(std::sin(angle))) {}

    double c;
    double s;
};

} // namespace pengui
