#pragma once

namespace effect {

// Routes the delay lines' outputs back into the lines (feedback and
// cross-feed between two lines) and forms the output mix. Values arrive
// through setters and take effect at the next control tick, ramping linearly
// over its 256 samples. Everything here runs on the audio thread (the editor
// thread stands in for it while the audio thread is stopped).
class DelayMixer {
public:
    static constexpr int ramp_length = 256;

    // [audio thread] Pending values: stored, and taken at the next tick, only
    // when they differ.
    void set_feedback(int line, float x) noexcept;
    void set_level(int line, float x) noexcept;
    void set_pan(int line, float x) noexcept;
    void set_predelay_level(float x) noexcept;
    void set_separation(float x) noexcept;
    void set_two_line(bool on) noexcept;
    void set_sustain(bool on) noexcept;
    void set_mute(int line, bool on) noexcept;

    // [audio thread] Coefficients from the pending values, at once, without a ramp.
    void reset() noexcept;
    // [audio thread] Start of a control tick: a change ramps over the tick's 256 samples.
    void tick() noexcept;

    // [audio thread] One run of `count` samples starting `offset` samples into the tick.
    // L/R hold the pre-delay signal on entry and the output on return; x0/x1
    // are the lines' outputs, w0/w1 where the lines' next inputs go (x1 and
    // w1 are not touched in one-line mode).
    void process(float* L, float* R, const float* x0, const float* x1, float* w0, float* w1,
                 int count, int offset) const noexcept;

private:
    // The coefficients that ramp together.
    struct Coefficients {
        float m[4]; // feedback matrix: line 0 -> 0, 0 -> 1, 1 -> 0, 1 -> 1
        float g[4]; // output gains: line 0 -> L, line 1 -> L, line 0 -> R, line 1 -> R
        float predelay;
    };
    static constexpr int nbr_coefficients = 9;

    void compute(Coefficients& c) const noexcept;
    template <bool TwoLines, bool Ramp>
    void run(float* __restrict L, float* __restrict R, const float* __restrict x0,
             const float* __restrict x1, float* __restrict w0, float* __restrict w1, int count,
             int offset) const noexcept;

    Coefficients current_{};
    Coefficients start_{};
    Coefficients step_{};
    bool ramping_ = false;

    float feedback_[2] = {0.0f, 0.0f};
    float level_[2] = {0.0f, 0.0f};
    float pan_[2] = {0.0f, 0.0f};
    float predelay_ = 1.0f;
    float separation_ = 0.0f;
    bool two_line_ = false;
    bool sustain_ = false;
    bool mute_[2] = {false, false};
    bool changed_ = true;
};

} // namespace effect
