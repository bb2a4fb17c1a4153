#include "mppi/ParamLfoWf.h"

#include <algorithm>
#include <cmath>

namespace mppi {

namespace {
const char* const waveform_names[ParamLfoWf::nbr_waveforms] = {
    "Sine",      "Triangle", "Square", "Ramp up",     "Cos up",
    "Ramp down", "Cos down", "Random", "Brown noise", "White noise"};
}

double ParamLfoWf::to_internal(float x) const noexcept {
    return std::floor((nbr_waveforms - 1) * double(x) + 0.5);
}

std::string ParamLfoWf::to_text(double v) const {
    const int index = std::clamp(static_cast<int>(std::lround(v)), 0, nbr_waveforms - 1);
    return waveform_names[index];
}

double ParamLfoWf::from_text(const std::string&, bool& ok) const {
    ok = false;
    return 0.0;
}

} // namespace mppi
