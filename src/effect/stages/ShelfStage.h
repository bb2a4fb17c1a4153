#pragma once

#include "effect/params/DelayLineParams.h"
#include "mppi/NotifiedInterface.h"
#include "mppi/NotifierInterface.h"
#include "mppi/PluginInternal.h"

#include <atomic>
#include <memory>

namespace effect {

// The last stage of a delay line's loop: a first-order high shelf with gain 1
// at 0 Hz and g at the Nyquist frequency, so that repeats darken one after
// the other. Its parameters have no LFO and take effect at the next tick.
//
// Threads: parameters notify from the editor thread and only mark the stage
// changed; everything else belongs to the audio thread.
class ShelfStage : public mppi::NotifiedInterface, public mppi::NotifierInterface {
public:
    // At or above this level the shelf is left out.
    static constexpr float bypass_level = 0.99f;

    // [editor thread] Creates and adds the cutoff and level parameters.
    void init(int line_index, mppi::PluginInternal& plugin);
    // [editor thread] 4000 Hz, 0 dB; state cleared.
    void set_defaults();
    // [audio thread] Coefficients from the parameters, state cleared.
    void reset() noexcept;
    // [editor thread, audio thread stopped] The cutoff stays below 0.49 of the rate.
    void set_sample_rate(float rate);
    // [audio thread] Takes a parameter change.
    void tick() noexcept;
    // [audio thread] In place; left out (level at or above bypass_level),
    // the block passes unchanged.
    void process(float* block, int count) noexcept;
    // [audio thread] Two shelves, each over its block in place, at once where
    // both are active; the results are those of process() on each.
    static void process_pair(ShelfStage& a, float* block_a, ShelfStage& b, float* block_b,
                             int count) noexcept;

    // [any thread] A parameter changed.
    void notify(mppi::NotifierInterface* source) noexcept override;

    float frequency() const noexcept { return f_; }

private:
    void update_coefficients() noexcept;

    std::shared_ptr<ParamDlyHsCutoff> cutoff_;
    std::shared_ptr<ParamDlyHsLvl> level_;
    float b0_ = 1.0f, b1_ = 0.0f, a1_ = 0.0f;
    float x1_ = 0.0f, y1_ = 0.0f;
    float sample_rate_ = 44100.0f;
    float f_ = 4000.0f;
    float g_ = 1.0f;
    std::atomic<bool> shelf_changed_{false};
};

} // namespace effect
