// A stage that sat out a while (a neutral filter, a shelf left out, a
// distortion at level 0) comes back from the signal passing now, not from
// what it held when it left off: a quiet signal stays quiet when it does.

#include "StageRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr float rate = 44100.0f;

double peak(const std::vector<float>& x) {
    double p = 0.0;
    for (const float v : x)
        p = std::max(p, double(std::abs(v)));
    return p;
}

// Runs `blocks` control blocks of a sine of `amplitude` through `step`, after
// `tick`, and returns what came out.
std::vector<float> play(int blocks, double amplitude, const std::function<void()>& tick,
                        const std::function<void(float*)>& step) {
    std::vector<float> out = sine(std::size_t(blocks) * block_size, 997.0, rate, amplitude);
    for (int b = 0; b < blocks; ++b) {
        tick();
        step(out.data() + b * block_size);
    }
    return out;
}

} // namespace

TEST(IdleStages, a_stage_back_in_goes_on_from_the_quiet_signal_it_let_pass) {
    const double quiet = 1e-3;
    // Loud while the stage works, then (the stage out) loud a while longer
    // and quiet, then the stage back in: its first blocks stay quiet.
    {
        SCOPED_TRACE("filter");
        FilterRig rig(rate, effect::Biquad::low_pass, 1000.0, 16.0, 1.0);
        auto tick = [&rig] { rig.stage.tick(block_size); };
        auto step = [&rig](float* b) { rig.stage.read(b, b, block_size); };
        play(40, 1.0, tick, step);
        rig.set(filter_index::type, effect::Biquad::resonator);
        rig.set(filter_index::reso, 1.0); // neutral once the glide ends
        play(40, 1.0, tick, step);
        play(40, quiet, tick, step);
        rig.set(filter_index::type, effect::Biquad::low_pass);
        EXPECT_LT(peak(play(4, quiet, tick, step)), 4.0 * quiet);
    }
    {
        SCOPED_TRACE("shelf");
        ShelfRig rig(rate, 2000.0, 0.1);
        auto tick = [&rig] { rig.stage.tick(); };
        auto step = [&rig](float* b) { rig.stage.process(b, block_size); };
        play(40, 1.0, tick, step);
        rig.plugin.param_at(shelf_index::level)->set_internal(1.0);
        play(40, 1.0, tick, step);
        play(40, quiet, tick, step);
        rig.plugin.param_at(shelf_index::level)->set_internal(0.1);
        EXPECT_LT(peak(play(4, quiet, tick, step)), 2.0 * quiet);
    }
    {
        // The gain that holds the output at the input's level compares the
        // two levels; the output's must not be that of a block long gone.
        SCOPED_TRACE("distortion");
        DistortionRig rig(rate, 0.0, 0.5);
        auto tick = [&rig] { rig.stage.tick(block_size); };
        auto step = [&rig](float* b) { rig.stage.process(b, block_size); };
        play(40, quiet, tick, step);
        rig.set(dist_index::level, 0.0);
        play(40, quiet, tick, step);
        play(40, 1.0, tick, step);
        play(4, quiet, tick, step);
        rig.set(dist_index::level, 0.5);
        play(8, quiet, tick, step);
        // A loud signal again: held at an RMS of 0.75, a sine peaks near 1.06.
        EXPECT_LT(peak(play(8, 1.0, tick, step)), 1.2);
    }
}
