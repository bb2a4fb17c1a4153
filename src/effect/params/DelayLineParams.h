#pragma once

#include "effect/params/NumberedForms.h"
#include "mppi/TimeUnit.h"

namespace effect {

// The parameters of a delay line and of its filter, distortion and shelf,
// named D1 ... and D2 ... after the line.

// Output level, gain 0..4.
class ParamDlyLvl : public GainParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " level"; }
};

// Output pan, -1 (left) .. 1 (right).
class ParamDlyPan : public PanParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " pan"; }
};

// Delay time in beats, 1/128..4, shown in the time unit.
class ParamDlyTime : public NumberedParam<ParamDlyMixin> {
public:
    static constexpr double min_beats = 0.0078125;
    static constexpr double max_beats = 4.0;

    explicit ParamDlyTime(mppi::TimeUnit& time_unit) : time_unit_(time_unit) {}
    std::string get_suffix() const override { return " time"; }
    std::string get_unit() const override { return time_unit_.get_unit_name(); }
    double to_internal(float n) const noexcept override;
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;

private:
    mppi::TimeUnit& time_unit_;
};

// Feedback 0..1, shown in percent.
class ParamDlyFdbk : public NumberedParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " fdbk"; }
    std::string get_unit() const override { return "%"; }
    double to_internal(float n) const noexcept override { return n; }
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

// Filter type 0..3: low-pass, high-pass, resonator, band-pass.
class ParamDlyFiltType : public NumberedParam<ParamDlyMixin> {
public:
    enum { low_pass = 0, high_pass, resonator, band_pass };

    std::string get_suffix() const override { return " filt type"; }
    std::string get_unit() const override { return ""; }
    double to_internal(float n) const noexcept override;
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

// Filter cutoff, 40..10240 Hz over eight octaves.
class ParamDlyFiltCutoff : public NumberedParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " filt cutoff"; }
    std::string get_unit() const override { return "Hz"; }
    double to_internal(float n) const noexcept override;
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

// Filter resonance as a gain 1/16..16, shown in dB.
class ParamDlyFiltReso : public NumberedParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " filt reso"; }
    std::string get_unit() const override { return "dB"; }
    double to_internal(float n) const noexcept override;
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

// Filter Q, 0.1..10.
class ParamDlyFiltQ : public NumberedParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " filt Q"; }
    std::string get_unit() const override { return ""; }
    double to_internal(float n) const noexcept override;
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

// Distortion curve, 0 overdrive .. 1 puncher; values between blend the two.
class ParamDlyDistType : public NumberedParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " disto type"; }
    std::string get_unit() const override { return ""; }
    double to_internal(float n) const noexcept override { return n; }
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

// Distortion level 0..1, shown in percent.
class ParamDlyDistLvl : public NumberedParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " disto lvl"; }
    std::string get_unit() const override { return "%"; }
    double to_internal(float n) const noexcept override { return n; }
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

// High-shelf cutoff, 200..20000 Hz.
class ParamDlyHsCutoff : public NumberedParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " HS cutoff"; }
    std::string get_unit() const override { return "Hz"; }
    double to_internal(float n) const noexcept override;
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

// High-shelf gain at the top of the spectrum, 0..1, shown in dB.
class ParamDlyHsLvl : public NumberedParam<ParamDlyMixin> {
public:
    std::string get_suffix() const override { return " HS level"; }
    std::string get_unit() const override { return "dB"; }
    double to_internal(float n) const noexcept override { return n; }
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

} // namespace effect
