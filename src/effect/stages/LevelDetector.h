#pragma once

namespace effect {

// An RMS follower: a first-order low-pass on the squared signal, made by the
// bilinear transform, read once per block.
class LevelDetector {
public:
    // [editor thread] The time constant T in seconds (a corner at 1/T Hz).
    void set_time(float seconds) noexcept;
    // [editor thread, audio thread stopped]
    void set_sample_rate(float rate) noexcept;
    // [audio thread] Memory back to 0.
    void clear() noexcept;
    // [audio thread] Follows `count` samples and returns the level reached.
    float run(const float* block, int count) noexcept;
    // [audio thread] The memory of another detector of the same time and
    // rate: what this one would hold had it followed the same samples.
    void take_state(const LevelDetector& other) noexcept;

    // The longest block followed in one step.
    static constexpr int max_block = 256;

private:
    void update_coefficients() noexcept;
    void follow(const float* block, int count) noexcept;

    float time_ = 0.05f;
    float sample_rate_ = 44100.0f;
    float b0_ = 0.0f, a1_ = 0.0f;
    float x1_ = 0.0f, y1_ = 0.0f;
    // (-a1)^k: how much of a sample k steps back remains in the output.
    float decay_[max_block + 1] = {};
};

} // namespace effect
