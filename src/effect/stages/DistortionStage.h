#pragma once

#include "effect/params/DelayLineParams.h"
#include "effect/params/Modifiers.h"
#include "effect/stages/DistortionCurves.h"
#include "effect/stages/LevelDetector.h"
#include "mppi/FullLfoParam.h"
#include "mppi/NotifiedInterface.h"
#include "mppi/NotifierInterface.h"
#include "mppi/PluginInternal.h"

#include <atomic>
#include <memory>

namespace effect {

// Shapes every block a delay line reads with a tanh soft clipper
// ("Overdrive"), a sine wave folder ("Puncher") or a blend of the two, then
// holds the block's output level at its input level, never above an RMS of
// 0.75. The gain also runs at level 0, so it limits what circulates in the
// feedback loop.
//
// Threads: parameters notify from the editor thread and only mark the stage
// changed; everything else belongs to the audio thread.
class DistortionStage : public mppi::NotifiedInterface, public mppi::NotifierInterface {
public:
    struct LvlModifier : OffsetModifier<UnitRange> {};

    DistortionStage();

    // [editor thread] Creates the parameters and adds them: type, then level
    // followed by its LFO period, depth and waveform.
    void init(int line_index, mppi::PluginInternal& plugin);
    // [editor thread] Overdrive at level 0, no modulation; detectors cleared.
    void set_defaults();
    // [audio thread] Detectors cleared, level glide and LFO restarted, curves
    // taken without crossfade.
    void reset() noexcept;
    // [editor thread, audio thread stopped]
    void set_sample_rate(float rate);
    // [audio thread] The LFO period follows the tempo.
    void tempo_changed() noexcept;
    // [audio thread] One control block of n samples; a new type or level
    // crossfades the curves over the next 256 samples.
    void tick(int n) noexcept;
    // [audio thread] In place.
    void process(float* block, int count) noexcept;

    // [any thread] A parameter or the modulated level changed.
    void notify(mppi::NotifierInterface* source) noexcept override;

    float compensation_gain() const noexcept { return comp_; }

private:
    // One curve with its gain: the settings before and after a change.
    struct Curve {
        float gain;
        float falling; // the previous setting's gain on its way to 0
        float fall;    // per sample
        float rising;  // the new setting's gain on its way up
        float rise;    // per sample
        void start_crossfade(float new_gain) noexcept;
    };

    void take_values() noexcept;
    void update_curves(bool crossfade) noexcept;
    template <bool Changing>
    void shape(float* block, int count) noexcept;
    template <bool UseOverdrive, bool UsePuncher, bool Changing>
    void shape_with(float* block, int count) noexcept;
    void apply_compensation(float* block, int count) noexcept;

    std::shared_ptr<ParamDlyDistType> type_param_;
    mppi::FullLfoParam<LvlModifier, 1> level_param_;
    std::atomic<bool> dist_changed_{false};
    LevelDetector input_detector_;
    LevelDetector output_detector_;
    const DistortionCurves* curves_;
    float type_ = 0.0f, prev_type_ = 0.0f;
    float level_ = 0.0f, prev_level_ = 0.0f;
    float drive_ = 0.25f, prev_drive_ = 0.25f;
    float scale_ = 0.25f, prev_scale_ = 0.25f;
    Curve overdrive_{4.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    Curve puncher_{4.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    float comp_ = 1.0f, prev_comp_ = 1.0f;
};

} // namespace effect
