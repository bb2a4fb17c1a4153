#pragma once

#include "mppi/ParamNamed.h"

namespace mppi {

// The waveform of an LFO coupling: an index 0..9 into the oscillator's types.
class ParamLfoWf : public ParamNamed {
public:
    static constexpr int nbr_waveforms = 10;

    std::string get_unit() const override { return ""; }
    double to_internal(float x) const noexcept override;
    double to_normalized(double v) const noexcept override { return v / (nbr_waveforms - 1); }
    std::string to_text(double v) const override;
    // Waveforms are chosen, not typed.
    double from_text(const std::string& text, bool& ok) const override;
    std::string get_prefix() const override { return ""; }
    std::string get_suffix() const override { return " LFO WF"; }

    // The oscillator type of a waveform index (the identity here).
    static int oscillator_type(int index) noexcept { return index; }
};

} // namespace mppi
