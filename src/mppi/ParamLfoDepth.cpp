#include "mppi/ParamLfoDepth.h"

#include "mppi/TextFormat.h"

#include <algorithm>

namespace mppi {

std::string ParamLfoDepth::to_text(double v) const {
    return format_number("%.2f", v * 100.0, 6);
}

double ParamLfoDepth::from_text(const std::string& text, bool& ok) const {
    double percent = 0.0;
    ok = read_number(text, percent);
    return ok ? std::clamp(percent * 0.01, 0.0, 1.0) : 0.0;
}

} // namespace mppi
