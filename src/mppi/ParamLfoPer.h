#pragma once

#include "mppi/ParamNamed.h"
#include "mppi/TimeUnit.h"

#include <algorithm>
#include <cmath>

namespace mppi {

// The period of an LFO coupling in beats, from 1/64 to 256 (normalized
// 2^(14x - 6)); shown and typed through the plug-in's time unit.
template <int Variant = 1>
class ParamLfoPer : public ParamNamed {
public:
    static constexpr double min_beats = 1.0 / 64.0;
    static constexpr double max_beats = 256.0;

    // [editor thread] The period's own initialisation: the time unit it shows
    // and reads times with (not owned).
    void init_period(double beats, int attribute, const std::string& name, TimeUnit* time_unit) {
        time_unit_ = time_unit;
        init(beats, attribute);
        set_base_name(name);
    }
    // The period is initialised through init_period only.
    void init_named(double, int, const std::string&) override {}

    std::string get_unit() const override { return time_unit_->get_unit_name(); }
    double to_internal(float x) const noexcept override { return std::exp2(14.0 * x - 6.0); }
    double to_normalized(double b) const noexcept override {
        return std::clamp((std::log2(b) + 6.0) / 14.0, 0.0, 1.0);
    }
    std::string to_text(double b) const override {
        return time_unit_->format(time_unit_->beats_to_sec(b), 6);
    }
    double from_text(const std::string& text, bool& ok) const override {
        const double seconds = time_unit_->parse(text, ok);
        return ok ? std::clamp(time_unit_->sec_to_beats(seconds), min_beats, max_beats) : 0.0;
    }
    std::string get_prefix() const override { return ""; }
    std::string get_suffix() const override { return " LFO period"; }

private:
    TimeUnit* time_unit_ = nullptr;
};

} // namespace mppi
