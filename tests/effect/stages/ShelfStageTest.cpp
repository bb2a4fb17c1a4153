// The high shelf: bypassed near 0 dB, removes the top at "-oo", holds its
// cutoff below 0.49 of the rate, changes only at a tick, never goes subnormal.

#include "StageRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

constexpr std::size_t length = 8192;

} // namespace

TEST(ShelfStage, levels_from_099_up_leave_the_block_untouched) {
    const std::vector<float> in = sine(length, 15000.0, 44100.0, 0.5);
    struct Case {
        double level;
        bool untouched;
    };
    for (const Case& c : {Case{1.0, true}, Case{0.995, true}, Case{0.99, true}, Case{0.989, false},
                          Case{0.5, false}}) {
        ShelfRig rig(44100.0f, 4000.0, c.level);
        const std::vector<float> out = rig.run(in);
        EXPECT_EQ(std::memcmp(out.data(), in.data(), sizeof(float) * length) == 0, c.untouched)
            << c.level;
    }
}

TEST(ShelfStage, level_0_keeps_only_the_low_part) {
    ShelfRig rig(44100.0f, 1000.0, 0.0);
    const std::vector<float> h = rig.run(impulse(length));
    EXPECT_NEAR(gain_db(h, 20.0, 44100.0), 0.0, 0.01);
    EXPECT_LT(gain_db(h, 10000.0, 44100.0), -19.0);
    // The gain at each frequency is the analog shelf's at the prewarped one.
    const double warp = std::tan(M_PI * 1000.0 / 44100.0);
    for (double f : {500.0, 1000.0, 4000.0, 20000.0}) {
        const double w = std::tan(M_PI * f / 44100.0) / warp;
        EXPECT_NEAR(gain_db(h, f, 44100.0), -10.0 * std::log10(1.0 + w * w), 0.001) << f;
    }
}

TEST(ShelfStage, cutoff_stays_below_049_of_the_rate) {
    struct Case {
        float rate;
        double cutoff;
        float used;
    };
    for (const Case& c : {Case{32000.0f, 20000.0, 15680.0f}, Case{44100.0f, 20000.0, 20000.0f},
                          Case{11025.0f, 8000.0, 5402.25f}, Case{96000.0f, 200.0, 200.0f}}) {
        ShelfRig rig(c.rate, c.cutoff, 0.5);
        EXPECT_EQ(rig.stage.frequency(), c.used) << c.rate << ' ' << c.cutoff;
    }
}

TEST(ShelfStage, parameter_changes_apply_at_the_next_tick_without_a_ramp) {
    mppi::PluginInternal plugin;
    effect::ShelfStage stage;
    stage.init(1, plugin);
    EXPECT_EQ(plugin.param_at(shelf_index::cutoff)->get_name(), "D2 HS cutoff");
    plugin.param_at(shelf_index::level)->set_internal(0.0);
    plugin.param_at(shelf_index::cutoff)->set_internal(500.0);
    std::vector<float> block = sine(block_size, 15000.0, 44100.0, 0.5);
    const std::vector<float> in = block;
    stage.process(block.data(), block_size);
    EXPECT_EQ(0, std::memcmp(block.data(), in.data(), sizeof(float) * block_size));
    stage.tick();
    EXPECT_EQ(stage.frequency(), 500.0f);
    stage.process(block.data(), block_size);
    EXPECT_LT(rms(block.data() + 64, block_size - 64), 0.1 * rms(in.data(), block_size));
    stage.set_defaults();
    EXPECT_EQ(stage.frequency(), 4000.0f);
    EXPECT_EQ(plugin.param_at(shelf_index::level)->get_internal(), 1.0);
}

TEST(ShelfStage, no_subnormal_while_a_tail_decays) {
    for (double level : {0.0, 0.5, 0.98}) {
        ShelfRig rig(44100.0f, 200.0, level);
        std::vector<float> block(block_size);
        int subnormal = 0;
        for (int b = 0; b < 2048; ++b) {
            for (int i = 0; i < block_size; ++i)
                block[std::size_t(i)] = b == 0 ? float(std::sin(0.1 * i)) : 0.0f;
            rig.stage.process(block.data(), block_size);
            for (float v : block)
                subnormal += std::fpclassify(v) == FP_SUBNORMAL;
        }
        EXPECT_EQ(subnormal, 0) << level;
    }
}
