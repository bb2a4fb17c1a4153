#pragma once

#include "mppi/CubicTable.h"

#include <cmath>

// The two shaping curves of the distortion, each 16 cubic segments: a tanh
// soft clipper over [-8, 8] and one period of a sine for the wave folder.
// Built once, on first use, and shared by every stage.
class DistortionCurves {
public:
    // Coordinate units of the folder per radian: one period spans 16 segments.
    static constexpr float fold_units_per_radian = 16.0f / 6.28318530717958647692f;

    // [main thread, first call] The tables.
    static const DistortionCurves& instance();

    // About tanh(x); held at tanh(-8) and tanh(8) outside [-8, 8].
    float overdrive(float x) const noexcept;
    // About sin(2π·u/16) for any u: the table repeats every 16 units.
    float puncher(float u) const noexcept;

private:
    static constexpr float knot_offset = 8.0f;
    static constexpr int segments = mppi::CubicTable<float>::segments;

    DistortionCurves();

    mppi::CubicTable<float> overdrive_;
    mppi::CubicTable<float> puncher_;
    float low_, high_;
};

inline float DistortionCurves::overdrive(float x) const noexcept {
    const float u = x + knot_offset;
    if (u < 0.0f)
        return low_;
    if (u >= float(segments))
        return high_;
    return overdrive_.eval(int(u), u);
}

inline float DistortionCurves::puncher(float u) const noexcept {
    // u - 16·floor(u/16), with the floor taken without a library call. The
    // loop's level control keeps u small; anything beyond the range of an int
    // (or not a number) is taken as 0.
    const float periods = u * (1.0f / float(segments));
    if (!(std::abs(periods) < 1.0e9f))
        return 0.0f;
    int whole = int(periods);
    if (float(whole) > periods)
        --whole;
    float r = u - float(segments) * float(whole);
    // A coordinate a hair below 0 rounds up to exactly 16, where segment 0's
    // cubic is far from the sine: wrap it back to the start of the period.
    if (r >= float(segments))
        r = 0.0f;
    return puncher_.eval(int(r), r);
}
