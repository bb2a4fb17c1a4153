#include "effect/params/EngineParams.h"

#include "effect/params/ParamScales.h"
#include "effect/params/ParamTexts.h"
#include "mppi/TextFormat.h"

#include <cmath>

namespace effect {

double ParamFlags::to_internal(float n) const noexcept {
    return static_cast<double>(std::lround(256.0 * n) & 0xFF);
}

int ParamFlags::get_bits() const noexcept {
    return static_cast<int>(std::lround(get_internal()));
}

void ParamFlags::update() noexcept {
    time_unit_.set_unit_mode((get_bits() & bit_beats) != 0 ? mppi::TimeUnit::beats
                                                           : mppi::TimeUnit::seconds);
}

std::string ParamFlags::to_text(double v) const {
    struct Letters {
        int bit;
        const char* set;
        const char* clear;
    };
    static const Letters letters[] = {{bit_beats, "BT", "MS"}, {bit_two_lines, "2", "1"},
                                      {bit_sustain, "SL", ""}, {bit_mute1, "M1", ""},
                                      {bit_mute2, "M2", ""},   {bit_clear1, "F1", ""},
                                      {bit_clear2, "F2", ""}};
    const long bits = std::lround(v);
    std::string text;
    for (const Letters& l : letters) {
        const char* word = (bits & l.bit) != 0 ? l.set : l.clear;
        if (*word == '\0')
            continue;
        if (!text.empty())
            text += ' ';
        text += word;
    }
    return text;
}

double ParamFlags::from_text(const std::string&, bool& ok) const {
    ok = false;
    return 0.0;
}

double ParamTempo::to_normalized(double v) const noexcept {
    return unit_to_normalized((v - min_bpm) / (max_bpm - min_bpm));
}

std::string ParamTempo::to_text(double v) const {
    return mppi::format_number("%.3f", v, 7);
}

double ParamTempo::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return number_parse(text, 1.0, min_bpm, max_bpm, v); });
}

double ParamDryLvl::to_internal(float n) const noexcept {
    return gain4_to_internal(n);
}
double ParamDryLvl::to_normalized(double v) const noexcept {
    return gain4_to_normalized(v);
}
std::string ParamDryLvl::to_text(double v) const {
    return db_text(v);
}

double ParamDryLvl::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return db_parse(text, 0.0, 4.0, v); });
}

double ParamFdbkSeparation::to_normalized(double v) const noexcept {
    return unit_to_normalized(v);
}

std::string ParamFdbkSeparation::to_text(double v) const {
    return mppi::format_number("%.2f", 100.0 * v, 6);
}

double ParamFdbkSeparation::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return number_parse(text, 0.01, 0.0, 1.0, v); });
}

} // namespace effect
