#pragma once

#include <cstdint>

namespace mppi {

// The low-frequency oscillator of an LFO coupling. Advanced once per control
// block (never per sample); its phase runs over [0, 16) per period. It
// belongs to the audio thread (the editor thread stands in for it while the
// audio thread is stopped).
class LfoOscillator {
public:
    enum Type {
        sine = 0,
        triangle,
        square,
        ramp_up,
        cos_up,
        ramp_down,
        cos_down,
        random,
        brown_noise,
        white_noise,
        nbr_types
    };

    // Samples between two draws of the noise waveforms.
    static constexpr int noise_block = 256;

    // [audio thread] One of the ten waveforms.
    void set_type(int type) noexcept;
    // [editor thread, audio thread stopped]
    void set_sample_rate(float rate) noexcept;
    // [audio thread]
    void set_period(double seconds) noexcept;

    // [audio thread] Phase, held value, counter and noise filter back to 0;
    // the random state keeps running.
    void reset() noexcept;
    // [audio thread]
    void advance(int samples) noexcept;
    // [audio thread] The wave at the current phase, in [-1, 1].
    double value() const noexcept;

    // [audio thread]
    double get_phase() const noexcept { return phase_; }
    // [audio thread]
    int get_counter() const noexcept { return counter_; }

    // [audio thread] Park-Miller minimal standard generator: the next value in [-1, 1).
    float next_random() noexcept;
    // [audio thread] The brown-noise low-pass coefficients and gain (valid for that type).
    float get_b0() const noexcept { return b0_; }
    float get_b1() const noexcept { return b1_; }
    float get_a1() const noexcept { return a1_; }
    float get_noise_gain() const noexcept { return gain_; }

private:
    void recompute() noexcept;
    float filter_step() noexcept;

    int type_ = sine;
    float sample_rate_ = 44100.0f;
    double period_ = 0.5;
    double phase_ = 0.0;
    double increment_ = 0.0;
    float held_ = 0.0f;
    int counter_ = 0;
    float gain_ = 1.0f;
    std::int32_t state_ = 1;
    float b0_ = 0.0f, b1_ = 0.0f, a1_ = 0.0f;
    float x1_ = 0.0f, y1_ = 0.0f;
    float control_rate_ = 0.0f, cutoff_ = 0.0f;
};

} // namespace mppi
