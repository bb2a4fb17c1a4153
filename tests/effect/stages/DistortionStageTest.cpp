// The distortion stage: its curves at full level, the automatic gain that
// holds the input level up to an RMS of 0.75, silence, and how type and
// level changes take effect.

#include "StageRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

namespace {

constexpr float rate = 44100.0f;

// Processes one block and checks each sample against shape(x) times the
// compensation gain, which moves linearly across the block.
void expect_shaped(effect::DistortionStage& stage, std::vector<float> block,
                   const std::function<double(double)>& shape, double tolerance) {
    const std::vector<float> in = block;
    const double c0 = stage.compensation_gain();
    stage.process(block.data(), int(block.size()));
    const double c1 = stage.compensation_gain();
    for (std::size_t i = 0; i < block.size(); ++i) {
        const double c = c0 + (c1 - c0) * double(i + 1) / double(block.size());
        ASSERT_NEAR(block[i], c * shape(in[i]), tolerance * c) << "sample " << i;
    }
}

std::vector<float> block_of(const std::vector<float>& signal, int index) {
    return {signal.begin() + index * block_size, signal.begin() + (index + 1) * block_size};
}

} // namespace

TEST(DistortionStage, level_0_passes_a_quiet_loop_untouched) {
    DistortionRig rig(rate, 0.0, 0.0);
    const std::vector<float> in = sine(block_size * 40, 440.0, rate, 1.0);
    for (int b = 0; b < 40; ++b) {
        std::vector<float> block = block_of(in, b);
        rig.stage.process(block.data(), block_size);
        ASSERT_EQ(rig.stage.compensation_gain(), 1.0f) << b;
        ASSERT_EQ(0,
                  std::memcmp(block.data(), in.data() + b * block_size, sizeof(float) * block_size))
            << b;
    }
}

// Even where the detectors' 20 Hz corner lies above the Nyquist frequency.
TEST(DistortionStage, level_0_passes_a_quiet_loop_at_any_rate) {
    for (const float r : {1.0f, 10.0f, 39.0f, 48000.0f}) {
        DistortionRig rig(r, 0.0, 0.0);
        std::vector<float> block(block_size, 0.25f);
        for (int b = 0; b < 20; ++b)
            rig.stage.process(block.data(), block_size);
        EXPECT_EQ(rig.stage.compensation_gain(), 1.0f) << r;
    }
}

TEST(DistortionStage, a_loud_loop_settles_at_an_rms_of_075) {
    struct Case {
        double type, level, amplitude;
    };
    // Level 0 (no shaping), and both curves driven hard.
    for (const Case& c : {Case{0.0, 0.0, 2.0}, Case{0.0, 0.0, 4.0}, Case{0.0, 0.5, 2.0},
                          Case{1.0, 1.0, 1.5}, Case{0.5, 0.3, 3.0}}) {
        DistortionRig rig(rate, c.type, c.level);
        const std::vector<float> in = sine(block_size * 80, 1000.0, rate, c.amplitude);
        std::vector<float> out = in;
        for (int b = 0; b < 80; ++b)
            rig.stage.process(out.data() + b * block_size, block_size);
        // After about 0.3 s the 20 Hz detectors have settled.
        const double settled = rms(out.data() + 60 * block_size, 20 * block_size);
        EXPECT_NEAR(settled, 0.75, 0.015) << c.type << ' ' << c.level << ' ' << c.amplitude;
    }
}

TEST(DistortionStage, curves_at_full_level_clip_and_fold) {
    struct Case {
        double type;
        std::function<double(double)> shape;
        double tolerance;
    };
    const Case cases[] = {
        // Drive 64 and gain 1: a hard clip at about +-1.
        {0.0, [](double x) { return std::tanh(64.0 * x); }, 0.01},
        // Scale 4.25 and gain 1: everything above about 0.37 folds back.
        {1.0, [](double x) { return std::sin(4.25 * x); }, 1e-3},
    };
    const std::vector<float> in = sine(block_size * 8, 100.0, rate, 0.6);
    for (const Case& c : cases) {
        DistortionRig rig(rate, c.type, 1.0);
        for (int b = 0; b < 8; ++b)
            expect_shaped(rig.stage, block_of(in, b), c.shape, c.tolerance);
    }
}

TEST(DistortionStage, silent_blocks_are_written_as_zeros) {
    struct Case {
        double level;
        float speck; // one sample, far below an RMS of 1e-9
    };
    // With the curves active even an all-zero block is shaped to a tiny
    // offset, so its input level of exactly 0 silences it.
    for (const Case& c : {Case{0.0, 1e-12f}, Case{0.0, 0.0f}, Case{0.7, 0.0f}}) {
        DistortionRig rig(rate, 0.0, c.level);
        std::vector<float> block(block_size, 0.0f);
        block[3] = c.speck;
        rig.stage.process(block.data(), block_size);
        EXPECT_EQ(rig.stage.compensation_gain(), 0.0f) << c.level;
        for (float v : block)
            ASSERT_EQ(v, 0.0f) << c.level;
        // The next audible block takes its own gain at once, not a ramp from 0.
        std::vector<float> loud = sine(block_size, 1000.0, rate, 0.5);
        const std::vector<float> in = loud;
        rig.stage.process(loud.data(), block_size);
        const float gain = rig.stage.compensation_gain();
        EXPECT_GT(gain, 0.0f);
        const double drive = std::exp2(8.0 * c.level - 2.0);
        for (int i = 0; i < block_size; ++i) {
            const double x = in[std::size_t(i)];
            const double shaped = c.level == 0.0 ? x : std::tanh(drive * x);
            ASSERT_NEAR(loud[std::size_t(i)], gain * shaped, 0.01 * gain) << c.level << ' ' << i;
        }
    }
}

TEST(DistortionStage, type_change_at_the_same_level_applies_at_once) {
    DistortionRig rig(rate, 0.0, 0.5);
    const std::vector<float> in = sine(block_size * 4, 300.0, rate, 0.5);
    std::vector<float> warm = block_of(in, 0);
    rig.stage.process(warm.data(), block_size);
    rig.set(dist_index::type, 1.0);
    // Until the tick, still the overdrive: drive 4, gain 1.
    expect_shaped(
        rig.stage, block_of(in, 1), [](double x) { return std::tanh(4.0 * x); }, 0.01);
    rig.stage.tick(block_size);
    // Scale 2.25, gain 1, from the first sample on.
    expect_shaped(
        rig.stage, block_of(in, 2), [](double x) { return std::sin(2.25 * x); }, 1e-3);
}

TEST(DistortionStage, level_change_fades_from_the_previous_curve) {
    DistortionRig rig(rate, 0.0, 0.25);
    const std::vector<float> in = sine(block_size * 3, 200.0, rate, 0.5);
    std::vector<float> warm = block_of(in, 0);
    rig.stage.process(warm.data(), block_size);
    rig.set(dist_index::level, 0.75);
    rig.stage.tick(block_size);
    // The level glides over 0.1 s; after one tick it has moved 256/4410 of the way.
    const double level = 0.25 + 0.5 * 256.0 / 4410.0;
    const double old_drive = 1.0, new_drive = std::exp2(8.0 * level - 2.0);
    const double old_gain = 1.0, new_gain = std::max(1.0 / new_drive, 1.0);
    std::vector<float> block = block_of(in, 1);
    const double c0 = rig.stage.compensation_gain();
    rig.stage.process(block.data(), block_size);
    const double c1 = rig.stage.compensation_gain();
    for (int i = 0; i < block_size; ++i) {
        const double x = in[std::size_t(block_size + i)];
        const double fade = double(i) / 256.0;
        const double shaped = (1.0 - fade) * old_gain * std::tanh(old_drive * x) +
                              fade * new_gain * std::tanh(new_drive * x);
        const double c = c0 + (c1 - c0) * double(i + 1) / block_size;
        ASSERT_NEAR(block[std::size_t(i)], c * shaped, 0.01 * c) << "sample " << i;
    }
}

TEST(DistortionStage, defaults_and_reset_return_to_a_clean_unity_pass) {
    mppi::PluginInternal plugin;
    effect::DistortionStage stage;
    stage.init(1, plugin);
    ASSERT_EQ(plugin.get_nbr_params_added(), 5);
    EXPECT_EQ(plugin.param_at(dist_index::level)->get_name(), "D2 disto lvl");
    plugin.param_at(dist_index::type)->set_internal(1.0);
    plugin.param_at(dist_index::level)->set_internal(1.0);
    stage.reset();
    std::vector<float> loud = sine(block_size, 1000.0, rate, 3.0);
    stage.process(loud.data(), block_size);
    EXPECT_NE(stage.compensation_gain(), 1.0f);
    stage.set_defaults();
    EXPECT_EQ(plugin.param_at(dist_index::type)->get_internal(), 0.0);
    EXPECT_EQ(stage.compensation_gain(), 1.0f);
    const std::vector<float> in = sine(block_size, 1000.0, rate, 0.3);
    std::vector<float> out = in;
    stage.process(out.data(), block_size);
    EXPECT_EQ(0, std::memcmp(out.data(), in.data(), sizeof(float) * block_size));
}
