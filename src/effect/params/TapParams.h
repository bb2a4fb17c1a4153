#pragma once

#include "effect/params/NumberedForms.h"
#include "mppi/TimeUnit.h"

namespace effect {

// The parameters of a pre-delay tap, named Tap 1 ... Tap 4 after the tap.

// Tap delay in beats, 0..4, shown in the time unit.
class ParamTapTime : public NumberedParam<ParamTapMixin> {
public:
    static constexpr double max_beats = 4.0;

    explicit ParamTapTime(mppi::TimeUnit& time_unit) : time_unit_(time_unit) {}
    std::string get_suffix() const override { return " time"; }
    std::string get_unit() const override { return time_unit_.get_unit_name(); }
    // 4·(64^n - 1)/63: fine steps near 0.
    double to_internal(float n) const noexcept override;
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override { return time_text(time_unit_, v); }
    double from_text(const std::string& text, bool& ok) const override;

private:
    mppi::TimeUnit& time_unit_;
};

// Tap level, gain 0..4.
class ParamTapLvl : public GainParam<ParamTapMixin> {
public:
    std::string get_suffix() const override { return " level"; }
};

// Tap pan, -1 (left) .. 1 (right).
class ParamTapPan : public PanParam<ParamTapMixin> {
public:
    std::string get_suffix() const override { return " pan"; }
};

} // namespace effect
