#pragma once

#include "effect/DelayMemory.h"
#include "effect/TapUnit.h"

#include <cstdint>

namespace effect {

// The pre-delay: four taps reading one stereo buffer. Their sum is the
// pre-delay signal that feeds the delay lines and, levelled, the output.
// Its buffer and taps belong to the audio thread.
class StereoTapDelay : public mppi::NotifiedInterface {
public:
    static constexpr int nbr_taps = 4;

    // [editor thread] Creates the taps' parameters (tap by tap: time, level,
    // pan, each with its LFO) and allocates the buffer.
    void init(mppi::PluginInternal& plugin);
    // [editor thread] Every tap to its defaults, then reset.
    void set_defaults();
    // [audio thread] Buffer cleared (at the cost of a few chunks per block, see
    // DelayMemory), taps restarted.
    void reset() noexcept;
    // [editor thread, audio thread stopped] May allocate; a failed allocation keeps the previous
    // buffer.
    void set_sample_rate(float rate);
    // [audio thread] The taps follow the tempo.
    void tempo_changed() noexcept;
    // [audio thread] Once per 256 samples.
    void tick() noexcept;
    // [audio thread] Writes `count` input frames and the taps' sum into L/R.
    void process(float* L, float* R, const float* in_left, const float* in_right,
                 int count) noexcept;
    // [any thread] Nothing: the taps tell nobody.
    void notify(mppi::NotifierInterface*) noexcept override {}

    TapUnit& tap(int index) { return taps_[index]; }
    int buffer_size() const noexcept { return buffer_.size(); }
    int max_delay() const noexcept { return dmax_; }

private:
    struct Frame {
        float l, r;
    };

    void allocate();
    bool glides(int t) const noexcept;
    std::uint64_t glide_position(int t) const noexcept;
    void announce_reads(int t, int count) noexcept;
    template <bool Add>
    void mix_tap(int t, float* L, float* R, int count) noexcept;

    TapUnit taps_[nbr_taps];
    DelayMemory<Frame> buffer_;
    int mask_ = 0;
    int w_ = 0;
    int processed_ = 0; // samples since the last tick
    float sample_rate_ = 44100.0f;
    int dmax_ = 0;
    // Per tap, for a glide: the read position at the tick's start and the
    // read speed, both 32.32 fixed point.
    std::uint64_t glide_start_[nbr_taps] = {};
    std::int64_t glide_speed_[nbr_taps] = {};
};

} // namespace effect
