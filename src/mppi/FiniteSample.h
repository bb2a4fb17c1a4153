#pragma once

#include <cmath>

namespace mppi {

// A NaN or an infinity entering the engine would circulate in its feedback
// loops for ever: host adapters let it in as silence instead.
inline float finite_or_zero(float v) noexcept {
    return std::isfinite(v) ? v : 0.0f;
}

} // namespace mppi
