#pragma once

#include <algorithm>
#include <cmath>

namespace effect {

// Normalized-to-internal scales shared by several parameter classes. Every
// to_normalized result is kept inside [0, 1].

// Gain 0..4 (+12 dB) on an exponential curve: 4·(256^n - 1)/255.
inline double gain4_to_internal(double n) {
    return 4.0 * (std::pow(256.0, n) - 1.0) / 255.0;
}
inline double gain4_to_normalized(double v) {
    return std::clamp(std::log(255.0 * v / 4.0 + 1.0) / std::log(256.0), 0.0, 1.0);
}

// -1..1 from 0..1.
inline double bipolar_to_internal(double n) {
    return 2.0 * n - 1.0;
}
inline double bipolar_to_normalized(double v) {
    return std::clamp((v + 1.0) / 2.0, 0.0, 1.0);
}

inline double unit_to_normalized(double v) {
    return std::clamp(v, 0.0, 1.0);
}

} // namespace effect
