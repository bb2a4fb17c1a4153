#pragma once

#include "mppi/ParamNamed.h"

namespace mppi {

// The modulation depth of an LFO coupling, 0..1, shown in percent.
class ParamLfoDepth : public ParamNamed {
public:
    std::string get_unit() const override { return "%"; }
    double to_internal(float x) const noexcept override { return x; }
    double to_normalized(double v) const noexcept override { return v; }
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
    std::string get_prefix() const override { return ""; }
    std::string get_suffix() const override { return " LFO depth"; }
};

} // namespace mppi
