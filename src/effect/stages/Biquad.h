#pragma once

#include <array>

// A second-order filter in 32-bit floats, direct form I, whose coefficients
// come from an analog prototype through the bilinear transform with the
// frequency prewarped to f. The two last inputs and outputs sit in two-entry
// rings with a shared index, so single samples and pairs can alternate. It
// belongs to the audio thread (the editor thread stands in for it while the
// audio thread is stopped).
class Biquad {
public:
    enum Type { low_pass = 0, high_pass, resonator, band_pass };

    // [audio thread] Coefficients for `type` at frequency f (Hz),
    // resonance r and quality q, at the current sample rate.
    void set(int type, float f, float r, float q) noexcept;
    // [editor thread, audio thread stopped] Takes effect at the next set().
    void set_sample_rate(float rate) noexcept { sample_rate_ = rate; }
    // Inputs and outputs of the recursion back to 0.
    void clear() noexcept;

    // [audio thread] Filters `count` samples from src into dst; both may be
    // the same block.
    void process(float* dst, const float* src, int count) noexcept;
    // [audio thread] Two filters over `count` samples each at once (side by
    // side in vector lanes where the machine has them), with the results
    // process() gives for each; dst and src of one filter may be the same block.
    static void process_pair(Biquad& a, float* dst_a, const float* src_a, Biquad& b, float* dst_b,
                             const float* src_b, int count) noexcept;

    int type() const noexcept { return type_; }
    float sample_rate() const noexcept { return sample_rate_; }
    float frequency() const noexcept { return f_; }
    float resonance() const noexcept { return r_; }
    float quality() const noexcept { return q_; }
    // The recursion's memory: last input, the one before, last output, the one before.
    std::array<float, 4> state() const noexcept;

private:
    float b0_ = 1.0f, b1_ = 0.0f, b2_ = 0.0f, a1_ = 0.0f, a2_ = 0.0f;
    float x_[2] = {0.0f, 0.0f};
    float y_[2] = {0.0f, 0.0f};
    // x_[last_] and y_[last_] hold the most recent sample, the other slot the one before.
    int last_ = 0;
    int type_ = resonator;
    float sample_rate_ = 44100.0f;
    float f_ = 1000.0f;
    float r_ = 1.0f;
    float q_ = 1.0f;
};
