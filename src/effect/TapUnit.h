#pragma once

#include "effect/params/Modifiers.h"
#include "effect/params/TapParams.h"
#include "mppi/FullLfoParam.h"
#include "mppi/PluginInternal.h"

#include <atomic>
#include <cstdint>

namespace effect {

// One tap of the pre-delay: a delayed, levelled and panned read of the shared
// stereo buffer, with an LFO on each of time, level and pan.
//
// Threads: parameters notify from the editor thread and only mark the tap
// changed; everything else belongs to the audio thread.
class TapUnit : public mppi::NotifiedInterface, public mppi::NotifierInterface {
public:
    struct TapTimeRange {
        static constexpr double min = 0.0, max = 4.0;
    };
    struct TimeModifier : ScaleModifier<TapTimeRange> {};
    // A modulated level stays at most 1 (0 dB), although the level itself may reach 4.
    struct LvlModifier : ScaleModifier<UnitRange> {};
    struct PanModifier : PanSwingModifier {};

    // Gains: left input to left and right output, right input to left and right.
    struct Gains {
        float ll = 0.0f, lr = 0.0f, rl = 0.0f, rr = 0.0f;
    };

    // [editor thread] Creates and adds time, level and pan, each with its LFO.
    void init(int index, mppi::PluginInternal& plugin);
    // [editor thread] Time 0, level 1 for the first tap else 0, pan centred.
    void set_defaults();
    // [audio thread] Glides and LFOs restart; no ramp, no glide.
    void reset() noexcept;
    // [editor thread, audio thread stopped] The rate and the longest delay
    // the shared buffer holds.
    void set_sample_rate(float rate, int max_delay);
    // [audio thread] The LFO periods and the delay follow the tempo.
    void tempo_changed() noexcept;
    // [audio thread] Once per 256 samples.
    void tick() noexcept;
    // [any thread] A parameter or modulated value changed.
    void notify(mppi::NotifierInterface* source) noexcept override;

    // [audio thread] Whether the tap adds anything to the pre-delay this tick.
    bool contributes() const noexcept { return level_ != 0.0f || ramping_; }

    int delay() const noexcept { return d_; }
    int previous_delay() const noexcept { return d_previous_; }
    double glide_increment() const noexcept { return glide_increment_; }
    bool is_ramping() const noexcept { return ramping_; }
    const Gains& gains() const noexcept { return gains_; }
    const Gains& start_gains() const noexcept { return start_; }
    const Gains& gain_steps() const noexcept { return steps_; }
    float level() const noexcept { return level_; }

private:
    void recompute() noexcept;

    int index_ = -1;
    mppi::TimeUnit* time_unit_ = nullptr;
    mppi::FullLfoParam<TimeModifier, 1> time_;
    mppi::FullLfoParam<LvlModifier, 1> level_param_;
    mppi::FullLfoParam<PanModifier, 1> pan_param_;
    float time_seconds_ = 0.0f;
    float level_ = 0.0f;
    float pan_ = 0.0f;
    std::atomic<bool> params_changed_{false};
    float sample_rate_ = 44100.0f;
    int d_ = 0;
    int max_delay_ = 0;
    float previous_level_ = 0.0f;
    float previous_pan_ = 0.0f;
    int d_previous_ = 0;
    Gains gains_;
    Gains start_;
    Gains steps_;
    bool ramping_ = false;
    double glide_increment_ = 0.0;
};

} // namespace effect
