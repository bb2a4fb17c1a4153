#include "mppi/ParamTextInput.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace mppi {

namespace {

// Normalized values tried for a shown text: every step of the finest stepped
// parameter (256 flag values) lands on this grid.
constexpr int grid = 256;

bool same_ignoring_case(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

bool read_param_text(const NormalizedParamInterface& param, const std::string& text,
                     float& normalized) {
    bool ok = false;
    const double value = param.from_text(text, ok);
    if (ok) {
        normalized = float(std::clamp(param.to_normalized(value), 0.0, 1.0));
        return true;
    }
    const std::string wanted = trimmed(text);
    bool found = false;
    for (int k = 0; k <= grid; ++k) {
        const double v = param.to_internal(float(k) / grid);
        if (!same_ignoring_case(param.to_text(v), wanted))
            continue;
        if (v == std::round(v)) {
            normalized = float(std::clamp(param.to_normalized(v), 0.0, 1.0));
            return true;
        }
        if (!found)
            normalized = float(k) / grid;
        found = true;
    }
    return found;
}

} // namespace mppi
