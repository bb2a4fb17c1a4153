#include "effect/params/TapParams.h"

#include <cmath>

namespace effect {

double ParamTapTime::to_internal(float n) const noexcept {
    return max_beats * (std::pow(64.0, n) - 1.0) / 63.0;
}

double ParamTapTime::to_normalized(double v) const noexcept {
    return unit_to_normalized(std::log(63.0 * v / max_beats + 1.0) / std::log(64.0));
}

double ParamTapTime::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return time_parse(time_unit_, text, 0.0, max_beats, v); });
}

} // namespace effect
