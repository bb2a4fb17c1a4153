#pragma once

#include "mppi/CubicTable.h"

#include <algorithm>
#include <cmath>

// The two shaping curves of the distortion, each 16 cubic segments: a tanh
// soft clipper over [-8, 8] and one period of a sine for the wave folder.
// Built once, on first use, and shared by every stage; read-only afterwards,
// so any thread may evaluate them.
class DistortionCurves {
public:
    // Coordinate units of the folder per radian: one period spans 16 segments.
    static constexpr float fold_units_per_radian = 16.0f / 6.28318530717958647692f;

    // [editor thread] The tables, built on the first call (a stage's construction).
    static const DistortionCurves& instance();

    // About tanh(x); held at tanh(-8) and tanh(8) outside [-8, 8].
    float overdrive(float x) const noexcept;
    // About sin(2π·u/16) for any u: the table repeats every 16 units.
    float puncher(float u) const noexcept;

    // The same over a block: out[i] = overdrive(scale · x[i]), and
    // out[i] = puncher(scale · x[i]); four samples at a time where the
    // processor has vector registers, with results equal to the one-sample forms.
    void overdrive_block(const float* x, float scale, float* out, int count) const noexcept;
    void puncher_block(const float* x, float scale, float* out, int count) const noexcept;

private:
    static constexpr float knot_offset = 8.0f;
    static constexpr int segments = mppi::CubicTable<float>::segments;
    // The largest coordinate below the last knot.
    static constexpr float last_coordinate = 15.999999f;

    DistortionCurves();

    mppi::CubicTable<float> overdrive_;
    mppi::CubicTable<float> puncher_;
    float high_;
};

inline float DistortionCurves::overdrive(float x) const noexcept {
    const float u = x + knot_offset;
    // Evaluated on the clamped coordinate without branches (the signal jumps
    // in and out of the table's range). Segment 0 at 0 is exactly tanh(-8),
    // so only the top needs its own value; not-a-number lands there too.
    const float inside = std::max(0.0f, std::min(u, last_coordinate));
    const float v = overdrive_.eval(int(inside), inside);
    return u >= float(segments) ? high_ : v;
}

inline float DistortionCurves::puncher(float u) const noexcept {
    // u - 16·floor(u/16), with the floor taken without a library call. The
    // loop's level control keeps u small; anything beyond the range of an int
    // (or not a number) is taken as 0.
    const float periods = u * (1.0f / float(segments));
    if (!(std::abs(periods) < 1.0e9f))
        return 0.0f;
    int whole = int(periods);
    whole -= float(whole) > periods ? 1 : 0;
    float r = u - float(segments) * float(whole);
    // A coordinate a hair below 0 rounds up to exactly 16, where segment 0's
    // cubic is far from the sine: wrap it back to the start of the period.
    r = r >= float(segments) ? 0.0f : r;
    return puncher_.eval(int(r), r);
}
