#pragma once

#include "mppi/NormalizedParamInterface.h"
#include "mppi/TimeUnit.h"

namespace effect {

// The engine-level parameters: flags, tempo, pre-delay level, feedback separation.

// Seven switches as the bits of an integer 0..255 (the bits are the engine's).
class ParamFlags : public mppi::NormalizedParamInterface {
public:
    static constexpr int bit_beats = 64;
    static constexpr int bit_two_lines = 32;
    static constexpr int bit_sustain = 16;
    static constexpr int bit_mute1 = 8;
    static constexpr int bit_mute2 = 4;
    static constexpr int bit_clear1 = 2;
    static constexpr int bit_clear2 = 1;

    explicit ParamFlags(mppi::TimeUnit& time_unit) : time_unit_(time_unit) {}

    std::string get_name() const override { return "Flags"; }
    std::string get_unit() const override { return ""; }
    // The time unit follows the beats bit.
    void update() noexcept override;
    double to_internal(float n) const noexcept override;
    double to_normalized(double v) const noexcept override { return v / 256.0; }
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;

    int get_bits() const noexcept;

private:
    mppi::TimeUnit& time_unit_;
};

// 60..240 BPM.
class ParamTempo : public mppi::NormalizedParamInterface {
public:
    static constexpr double min_bpm = 60.0;
    static constexpr double max_bpm = 240.0;

    explicit ParamTempo(mppi::TimeUnit& time_unit) : time_unit_(time_unit) {}

    std::string get_name() const override { return "Tempo"; }
    std::string get_unit() const override { return "BPM"; }
    // The time unit's tempo follows this value.
    void update() noexcept override { time_unit_.set_tempo_value(get_internal()); }
    double to_internal(float n) const noexcept override {
        return min_bpm + (max_bpm - min_bpm) * n;
    }
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;

private:
    mppi::TimeUnit& time_unit_;
};

// The pre-delay level in the output, gain 0..4.
class ParamDryLvl : public mppi::NormalizedParamInterface {
public:
    std::string get_name() const override { return "Predly lvl"; }
    std::string get_unit() const override { return "dB"; }
    double to_internal(float n) const noexcept override;
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

// How much of each line's feedback crosses to the other line, 0..1.
class ParamFdbkSeparation : public mppi::NormalizedParamInterface {
public:
    std::string get_name() const override { return "Fdbk sep."; }
    std::string get_unit() const override { return "%"; }
    double to_internal(float n) const noexcept override { return n; }
    double to_normalized(double v) const noexcept override;
    std::string to_text(double v) const override;
    double from_text(const std::string& text, bool& ok) const override;
};

} // namespace effect
