#pragma once

#include <algorithm>
#include <cmath>

namespace effect {

// How an LFO moves a parameter: the glided base b, the wave l in [-1, 1] and
// the depth d give the modulated value, kept inside the parameter's Range.
// With depth 0 the couplings use b unchanged.

struct UnitRange {
    static constexpr double min = 0.0, max = 1.0;
};
struct PanRange {
    static constexpr double min = -1.0, max = 1.0;
};

// b + l·d/2: feedback, separation, distortion level.
template <class Range>
struct OffsetModifier {
    static double apply(double b, double l, double d) noexcept {
        return std::clamp(b + l * d / 2.0, Range::min, Range::max);
    }
};

// b + (1 - |b|)·l·d: a pan swings less the further it sits to one side.
struct PanSwingModifier {
    static double apply(double b, double l, double d) noexcept {
        return std::clamp(b + (1.0 - std::abs(b)) * l * d, PanRange::min, PanRange::max);
    }
};

// b·(1 + l·d): times and tap levels.
template <class Range>
struct ScaleModifier {
    static double apply(double b, double l, double d) noexcept {
        return std::clamp(b * (1.0 + l * d), Range::min, Range::max);
    }
};

// b·4^(l·d): up to two octaves either way, for frequencies and factors.
template <class Range>
struct OctaveModifier {
    static double apply(double b, double l, double d) noexcept {
        return std::clamp(b * std::pow(4.0, l * d), Range::min, Range::max);
    }
};

} // namespace effect
