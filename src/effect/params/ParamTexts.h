#pragma once

#include "mppi/TimeUnit.h"

#include <string>

namespace effect {

// Text forms shared by the effect's parameter classes. Parsers return false
// when the text is not understood; the caller then keeps its value.

// A gain as decibels ("%.1f", at most 5 characters), "-oo" for silence.
std::string db_text(double gain);
// Decibels typed as a gain, limited to [lo, hi]; any part of "-oo" (the empty
// text and a lone minus included) is silence.
bool db_parse(const std::string& text, double lo, double hi, double& gain);

// A pan position in [-1, 1] as "L 50", "Mid" or "R 30".
std::string pan_text(double pan);
// "L 50" -> -0.5, "r30" -> 0.3, any part of "mid" -> 0; a number needs a side.
bool pan_parse(const std::string& text, double& pan);

// A frequency: whole hertz from 999.5 up, else with decimals; at most 5 characters.
std::string frequency_text(double hz);

// A duration held in beats, shown in the time unit at most 5 characters wide.
std::string time_text(const mppi::TimeUnit& unit, double beats);
// A typed duration converted to beats and limited to [lo, hi].
bool time_parse(const mppi::TimeUnit& unit, const std::string& text, double lo, double hi,
                double& beats);

// A plain number limited to [lo, hi], e.g. a percentage scaled by `scale`.
bool number_parse(const std::string& text, double scale, double lo, double hi, double& value);

// Runs a parser of the form bool(double&) and reports through `ok`.
template <typename Parse>
double parsed(bool& ok, Parse parse) {
    double value = 0.0;
    ok = parse(value);
    return value;
}

} // namespace effect
