#include "effect/params/ParamTexts.h"

#include "mppi/TextFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace effect {

std::string db_text(double gain) {
    if (gain > 0.00001)
        return mppi::format_number("%.1f", 20.0 * std::log10(gain), 5);
    return "-oo";
}

bool db_parse(const std::string& text, double lo, double hi, double& gain) {
    if (mppi::occurs_within_ignoring_case(text, "-oo")) {
        gain = std::clamp(0.0, lo, hi);
        return true;
    }
    double db = 0.0;
    if (!mppi::read_number(text, db))
        return false;
    gain = std::clamp(std::pow(10.0, db / 20.0), lo, hi);
    return true;
}

std::string pan_text(double pan) {
    if (std::abs(pan) > 0.005)
        return mppi::format_int(pan < 0.0 ? "L %ld" : "R %ld", std::lround(100.0 * std::abs(pan)));
    return "Mid";
}

bool pan_parse(const std::string& text, double& pan) {
    if (mppi::occurs_within_ignoring_case(text, "mid")) {
        pan = 0.0;
        return true;
    }
    const std::size_t side = text.find_last_of("lLrR");
    if (side == std::string::npos)
        return false;
    double percent = 0.0;
    if (!mppi::read_number(text.substr(side + 1), percent))
        return false;
    const bool left = std::tolower(static_cast<unsigned char>(text[side])) == 'l';
    pan = std::clamp((left ? -percent : percent) / 100.0, -1.0, 1.0);
    return true;
}

std::string frequency_text(double hz) {
    if (hz >= 999.5)
        return mppi::format_number("%.0f", std::round(hz), 5);
    return mppi::format_number("%f", hz, 5);
}

std::string time_text(const mppi::TimeUnit& unit, double beats) {
    return unit.format(unit.beats_to_sec(beats), 5);
}

bool time_parse(const mppi::TimeUnit& unit, const std::string& text, double lo, double hi,
                double& beats) {
    bool ok = false;
    const double seconds = unit.parse(text, ok);
    if (!ok)
        return false;
    beats = std::clamp(unit.sec_to_beats(seconds), lo, hi);
    return true;
}

bool number_parse(const std::string& text, double scale, double lo, double hi, double& value) {
    double number = 0.0;
    if (!mppi::read_number(text, number))
        return false;
    value = std::clamp(number * scale, lo, hi);
    return true;
}

} // namespace effect
