#include "effect/stages/DistortionCurves.h"

#include <cmath>

namespace {

constexpr double knot_offset = 8.0;
constexpr int segments = mppi::CubicTable<float>::segments;

} // namespace

const DistortionCurves& DistortionCurves::instance() {
    static const DistortionCurves curves;
    return curves;
}

DistortionCurves::DistortionCurves()
    : overdrive_([](double u) { return std::tanh(u - knot_offset); }),
      puncher_([](double u) { return std::sin(u * 3.14159265358979323846 / 8.0); }),
      low_(float(std::tanh(-knot_offset))), high_(float(std::tanh(knot_offset))) {}

float DistortionCurves::overdrive(float x) const noexcept {
    const float u = x + float(knot_offset);
    if (u < 0.0f)
        return low_;
    if (u >= float(segments))
        return high_;
    return overdrive_.eval(int(u), u);
}

float DistortionCurves::puncher(float u) const noexcept {
    float r = u - float(segments) * std::floor(u / float(segments));
    // A coordinate a hair below 0 rounds up to exactly 16, where segment 0's
    // cubic is far from the sine: wrap it back to the start of the period.
    if (r >= float(segments))
        r = 0.0f;
    return puncher_.eval(int(r), r);
}
