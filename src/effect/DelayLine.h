#pragma once

#include "effect/DelayMemory.h"
#include "effect/DelayMixer.h"
#include "effect/params/DelayLineParams.h"
#include "effect/params/Modifiers.h"
#include "effect/stages/DistortionStage.h"
#include "effect/stages/FilterStage.h"
#include "effect/stages/ShelfStage.h"
#include "mppi/FullLfoParam.h"
#include "mppi/PluginInternal.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace effect {

// One feedback delay line. It stores its input in a power-of-two circular
// buffer, reads it back at the delay time through its filter, then runs its
// distortion and high shelf over the block, and hands the result to the
// DelayMixer, which writes the line's next input. Delay changes glide over a
// control tick when the read speed stays within -2..2, else the buffer is
// crossfaded around the new read position.
//
// What the line plays, and so what it feeds back, never leaves
// ±output_ceiling. The distortion stage's gain correction holds the loop's
// level (an RMS of at most 0.75, over 20 Hz); the ceiling, 14 dB above it,
// holds every sample where that level lags a sudden change: a resonance or
// a filter type switched in on a loud loop rings for a few milliseconds at
// up to 24 dB above it, which fed back and levelled would reach the output.
//
// Threads: parameters notify from the editor thread and only mark the line
// changed; everything else belongs to the audio thread.
class DelayLine : public mppi::NotifiedInterface, public mppi::NotifierInterface {
public:
    struct LineTimeRange {
        static constexpr double min = 0.0078125, max = 4.0;
    };
    struct PanModifier : PanSwingModifier {};
    struct TimeModifier : ScaleModifier<LineTimeRange> {};
    struct FdbkModifier : OffsetModifier<UnitRange> {};

    static constexpr int block_size = 256;
    // The largest sample a line plays: +12 dBFS.
    static constexpr float output_ceiling = 4.0f;

    // [editor thread] Creates and adds the line's parameters (level, pan, time,
    // feedback with their LFOs, then the stages'), pushes its values to the
    // mixer and allocates the buffer.
    void init(int index, mppi::PluginInternal& plugin, DelayMixer& mixer);
    // [editor thread] Default values; a line's pan is hard left (line 0) or
    // right (line 1) in two-line mode, else centred. Then reset.
    void set_defaults(bool two_line_mode);
    // [audio thread] Glides and LFOs restart, the buffer is cleared (at the
    // cost of a few chunks per run, see DelayMemory).
    void reset() noexcept;
    // [editor thread, audio thread stopped] Clears the buffer and sizes it for the rate (may
    // allocate; a failed allocation keeps the previous buffer).
    void set_sample_rate(float rate);
    // [audio thread] The LFO periods and the delay follow the tempo.
    void tempo_changed() noexcept;
    // [audio thread] Once per 256 samples, before the tick's runs.
    void tick() noexcept;
    // [audio thread] The longest run that reads and writes without wrapping.
    int max_run() const noexcept;
    // [audio thread] Where the mixer writes the run's input.
    float* write_pointer() noexcept { return buffer_.data() + w_; }
    // [audio thread] Produces `count` processed samples and advances the write
    // position; the returned block is valid until the next read.
    const float* read(int count) noexcept;
    // [audio thread] read() of two lines over the same run, their recursive
    // filters side by side; each line's block is then at output().
    static void read_pair(DelayLine& a, DelayLine& b, int count) noexcept;
    // [audio thread] The block the last read produced.
    const float* output() const noexcept { return out_; }
    // [any thread] A parameter or modulated value changed.
    void notify(mppi::NotifierInterface* source) noexcept override;

    int buffer_size() const noexcept { return buffer_.size(); }
    int max_delay() const noexcept { return dmax_; }
    int delay() const noexcept { return d_; }
    int current_delay() const noexcept { return d_current_; }
    const DelayMemory<float>& buffer() const noexcept { return buffer_; }
    const FilterStage& filter() const noexcept { return filter_; }

private:
    // The gliding read of a run: the buffer interpolated at a read position
    // that moves by `step` per sample from `start` (32.32 fixed point).
    struct GlideRead {
        const float* buf;
        std::uint64_t mask, start, step;
        float operator()(int i) const noexcept {
            const std::uint64_t p = start + std::uint64_t(i) * step;
            const std::uint64_t index = (p >> 32) & mask;
            const float frac = float(std::uint32_t(p)) * (1.0f / 4294967296.0f);
            const float a = buf[index];
            const float b = buf[(index + 1) & mask];
            return a + (b - a) * frac;
        }
    };

    void push_values() noexcept;
    bool gliding() const noexcept;
    GlideRead glide() const noexcept;
    void announce(int count) noexcept;
    const float* fetch(int count) noexcept;
    void advance(int count) noexcept;
    void crossfade() noexcept;
    void allocate();

    float out_[block_size] = {};
    FilterStage filter_;
    DistortionStage distortion_;
    ShelfStage shelf_;
    std::shared_ptr<ParamDlyLvl> level_;
    mppi::FullLfoParam<PanModifier, 1> pan_;
    mppi::FullLfoParam<TimeModifier, 1> time_;
    mppi::FullLfoParam<FdbkModifier, 1> feedback_;

    DelayMemory<float> buffer_;
    int mask_ = 0;
    int w_ = 0;
    float time_seconds_ = 0.0f;
    float sample_rate_ = 44100.0f;
    int dmax_ = 0;
    int d_ = 1;         // target delay in samples
    int d_current_ = 1; // delay at the start of the tick
    int tick_offset_ = 0;
    std::uint64_t glide_start_position_ = 0; // read position at the tick's start, 32.32
    std::int64_t glide_speed_ = 0;           // read speed, 32.32
    double glide_increment_ = 0.0;
    std::atomic<bool> params_changed_{false};
    bool glide_start_ = false;
    int index_ = -1;
    DelayMixer* mixer_ = nullptr;
    mppi::TimeUnit* time_unit_ = nullptr;
};

} // namespace effect
