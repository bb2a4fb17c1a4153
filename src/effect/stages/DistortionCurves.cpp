#include "effect/stages/DistortionCurves.h"

#include <cmath>

const DistortionCurves& DistortionCurves::instance() {
    static const DistortionCurves curves;
    return curves;
}

DistortionCurves::DistortionCurves()
    : overdrive_([](double u) { return std::tanh(u - double(knot_offset)); }),
      puncher_([](double u) { return std::sin(u * 3.14159265358979323846 / 8.0); }),
      high_(float(std::tanh(double(knot_offset)))) {}
