#pragma once

#include "effect/params/NumberedParam.h"
#include "effect/params/ParamScales.h"
#include "effect/params/ParamTexts.h"

namespace effect {

// Value forms shared by delay-line and tap parameters.

// Gain 0..4 (+12 dB), shown and typed in dB.
template <class Mixin>
class GainParam : public NumberedParam<Mixin> {
public:
    std::string get_unit() const override { return "dB"; }
    double to_internal(float n) const noexcept override { return gain4_to_internal(n); }
    double to_normalized(double v) const noexcept override { return gain4_to_normalized(v); }
    std::string to_text(double v) const override { return db_text(v); }
    double from_text(const std::string& text, bool& ok) const override {
        return parsed(ok, [&](double& v) { return db_parse(text, 0.0, 4.0, v); });
    }
};

// Pan -1 (left) .. 1 (right), shown "L 50", "Mid", "R 30".
template <class Mixin>
class PanParam : public NumberedParam<Mixin> {
public:
    std::string get_unit() const override { return "%"; }
    double to_internal(float n) const noexcept override { return bipolar_to_internal(n); }
    double to_normalized(double v) const noexcept override { return bipolar_to_normalized(v); }
    std::string to_text(double v) const override { return pan_text(v); }
    double from_text(const std::string& text, bool& ok) const override {
        return parsed(ok, [&](double& v) { return pan_parse(text, v); });
    }
};

} // namespace effect
