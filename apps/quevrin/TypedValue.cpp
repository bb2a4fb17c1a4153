#include "TypedValue.h"

#include "ProgramSetup.h"

#include "mppi/ParamTextInput.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The text without a trailing unit the parameter understands or shows.
std::string without_unit(const mppi::NormalizedParamInterface& param, const std::string& text) {
    const std::string units[] = {lower(param.get_unit()), "ms", "s", "beats", "beat", "%"};
    const std::string t = lower(trimmed(text));
    for (const std::string& unit : units) {
        if (unit.empty() || t.size() <= unit.size() ||
            t.compare(t.size() - unit.size(), unit.size(), unit) != 0)
            continue;
        const char before = t[t.size() - unit.size() - 1];
        if (std::isdigit(static_cast<unsigned char>(before)) || before == ' ' || before == '.')
            return trimmed(text.substr(0, t.size() - unit.size()));
    }
    return trimmed(text);
}

// Text after the shortest start of `text` that the parameter reads as the
// same value as the whole and that ends before a character other than a
// digit or a point: "120abc" -> "abc".
std::string ignored_text(const mppi::NormalizedParamInterface& param, const std::string& text,
                         double value) {
    const std::string t = without_unit(param, text);
    for (std::size_t n = 1; n < t.size(); ++n) {
        if (std::isdigit(static_cast<unsigned char>(t[n])) || t[n] == '.')
            continue;
        bool ok = false;
        if (param.from_text(t.substr(0, n), ok) == value && ok)
            return trimmed(t.substr(n));
    }
    return "";
}

} // namespace

bool read_typed_value(const mppi::NormalizedParamInterface& param, const std::string& text,
                      TypedValue& value) {
    if (!mppi::read_param_text(param, text, value.normalized))
        return false;
    value.warning.clear();
    bool parsed = false;
    const double typed = param.from_text(text, parsed);
    if (!parsed)
        return true; // one of the texts the parameter shows, matched whole
    const std::string shown = param.to_text(param.to_internal(value.normalized));
    const std::string ignored = ignored_text(param, text, typed);
    if (!ignored.empty()) {
        value.warning = param.get_name() + ": \"" + ignored + "\" in \"" + text +
                        "\" was ignored; the value is " + shown;
        return true;
    }
    // The parsers limit a value to the parameter's range, so a limited value
    // lands on an end of it; there the typed number and the shown one differ.
    if (value.normalized > 0.0f && value.normalized < 1.0f)
        return true;
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    const double kept = std::strtod(shown.c_str(), nullptr);
    if (end != text.c_str() && std::abs(number - kept) > 1e-6 * std::max(1.0, std::abs(kept)) &&
        shown.find_first_of("0123456789") != std::string::npos)
        value.warning = param.get_name() + ": " + trimmed(text) +
                        " is out of range; the value is " + shown +
                        (param.get_unit().empty() ? "" : " " + param.get_unit());
    return true;
}
