// The filter stage's behaviour around its defaults, its neutral resonator,
// its cutoff limit, its modulation and its denormal guard.

#include "StageRig.h"
#include "support/Noise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace effect;

namespace {

constexpr std::size_t length = 4096;

std::vector<float> noise(std::size_t n) {
    std::vector<float> x(n);
    test::Noise draw(12345);
    for (float& v : x) {
        v = draw.next() - 0.5f;
    }
    return x;
}

} // namespace

TEST(FilterStage, defaults_copy_the_line_unchanged) {
    mppi::PluginInternal plugin;
    FilterStage stage;
    stage.init(0, plugin);
    plugin.param_at(filter_index::type)->set_internal(0.0);
    plugin.param_at(filter_index::reso)->set_internal(8.0);
    stage.set_defaults();
    ASSERT_EQ(plugin.get_nbr_params_added(), 13);
    EXPECT_TRUE(stage.is_neutral());
    const std::vector<float> in = noise(length);
    std::vector<float> out(length), in_place = in;
    stage.read(out.data(), in.data(), int(length));
    stage.filter_in_place(in_place.data(), int(length));
    EXPECT_EQ(0, std::memcmp(out.data(), in.data(), sizeof(float) * length));
    EXPECT_EQ(0, std::memcmp(in_place.data(), in.data(), sizeof(float) * length));
}

TEST(FilterStage, resonator_within_five_hundredths_of_unity_gain_is_neutral) {
    struct Case {
        int type;
        float reso;
        bool neutral;
    };
    const Case cases[] = {
        {Biquad::resonator, 1.0f, true},
        {Biquad::resonator, 1.05f, true},
        {Biquad::resonator, 1.06f, false},
        // The float nearest 0.95 lies a hair further than 0.05 from 1.
        {Biquad::resonator, 0.95f, false},
        {Biquad::resonator, 0.951f, true},
        {Biquad::low_pass, 1.0f, false},
        {Biquad::high_pass, 1.0f, false},
        {Biquad::band_pass, 1.0f, false},
    };
    const std::vector<float> in = noise(length);
    for (const Case& c : cases) {
        FilterRig rig(44100.0f, c.type, 1000.0, double(c.reso), 1.0);
        EXPECT_EQ(rig.stage.is_neutral(), c.neutral) << c.type << ' ' << c.reso;
        const std::vector<float> out = rig.run(in);
        EXPECT_EQ(std::memcmp(out.data(), in.data(), sizeof(float) * length) == 0, c.neutral)
            << c.type << ' ' << c.reso;
    }
}

TEST(FilterStage, cutoff_stays_below_049_of_the_rate) {
    struct Case {
        float rate;
        double cutoff;
        float used;
    };
    const Case cases[] = {
        {44100.0f, 10240.0, 10240.0f},
        {16000.0f, 10240.0, 7840.0f},
        {11025.0f, 6000.0, 5402.25f},
        {16000.0f, 40.0, 40.0f},
    };
    for (const Case& c : cases) {
        FilterRig rig(c.rate, Biquad::low_pass, c.cutoff, 1.0, 1.0);
        EXPECT_EQ(rig.stage.biquad().frequency(), c.used) << c.rate << ' ' << c.cutoff;
    }
    // A later rate change applies the limit again.
    FilterRig rig(44100.0f, Biquad::low_pass, 10240.0, 1.0, 1.0);
    rig.stage.set_sample_rate(16000.0f);
    EXPECT_EQ(rig.stage.biquad().frequency(), 7840.0f);
    rig.stage.set_sample_rate(48000.0f);
    EXPECT_EQ(rig.stage.biquad().frequency(), 10240.0f);
}

TEST(FilterStage, low_pass_at_resonance_16_peaks_about_24_db_at_the_cutoff) {
    for (float rate : {44100.0f, 96000.0f}) {
        FilterRig rig(rate, Biquad::low_pass, 1000.0, 16.0, 1.0);
        const std::vector<float> h = rig.run(impulse(1 << 15));
        EXPECT_NEAR(gain_db(h, 1000.0, rate), 24.08, 0.1) << rate;
        EXPECT_LT(gain_db(h, 500.0, rate), 3.0);
        EXPECT_LT(gain_db(h, 2000.0, rate), -9.0);
    }
}

TEST(FilterStage, band_pass_and_resonator_gain_at_the_cutoff_is_the_resonance) {
    for (int type : {Biquad::resonator, Biquad::band_pass}) {
        for (double reso : {0.25, 4.0}) {
            FilterRig rig(48000.0f, type, 2000.0, reso, 2.0);
            EXPECT_EQ(rig.stage.biquad().quality(), 2.0f);
            EXPECT_EQ(rig.stage.biquad().resonance(), float(reso));
            const std::vector<float> h = rig.run(impulse(1 << 14));
            EXPECT_NEAR(gain_db(h, 2000.0, 48000.0), 20.0 * std::log10(reso), 0.01)
                << type << ' ' << reso;
        }
    }
}

TEST(FilterStage, parameter_changes_apply_at_the_next_tick_only) {
    FilterRig rig(44100.0f, Biquad::low_pass, 1000.0, 1.0, 1.0);
    rig.set(filter_index::type, Biquad::high_pass);
    rig.set(filter_index::cutoff, 4000.0);
    EXPECT_EQ(rig.stage.biquad().type(), Biquad::low_pass);
    rig.stage.tick(block_size);
    EXPECT_EQ(rig.stage.biquad().type(), Biquad::high_pass);
    // The cutoff glides over 0.1 s: strictly between, then at the target.
    const float first = rig.stage.biquad().frequency();
    EXPECT_GT(first, 1000.0f);
    EXPECT_LT(first, 4000.0f);
    for (int i = 0; i < 20; ++i)
        rig.stage.tick(block_size);
    EXPECT_EQ(rig.stage.biquad().frequency(), 4000.0f);
}

TEST(FilterStage, cutoff_lfo_sweeps_two_octaves_each_way_at_full_depth) {
    FilterRig rig(44100.0f, Biquad::band_pass, 1000.0, 1.0, 1.0);
    rig.set(filter_index::cutoff_depth, 1.0);
    rig.stage.reset();
    float lo = 1e9f, hi = 0.0f;
    // One beat at 120 BPM is 0.5 s; run a little over one period.
    for (int i = 0; i < 100; ++i) {
        rig.stage.tick(block_size);
        lo = std::min(lo, rig.stage.biquad().frequency());
        hi = std::max(hi, rig.stage.biquad().frequency());
    }
    EXPECT_NEAR(hi, 4000.0f, 40.0f);
    EXPECT_NEAR(lo, 250.0f, 2.5f);
}

TEST(FilterStage, odd_runs_and_gliding_reads_agree_with_one_long_read) {
    const std::vector<float> in = noise(length);
    for (int type : {Biquad::low_pass, Biquad::high_pass, Biquad::resonator, Biquad::band_pass}) {
        FilterRig whole(44100.0f, type, 3000.0, 4.0, 2.0);
        FilterRig pieces(44100.0f, type, 3000.0, 4.0, 2.0);
        const std::vector<float> expected = whole.run(in);
        std::vector<float> out = in;
        const int runs[] = {1, 3, 2, 7, 255, 256, 1, 1, 100};
        std::size_t pos = 0;
        for (int i = 0; pos < length; ++i) {
            const int n = int(std::min<std::size_t>(std::size_t(runs[i % 9]), length - pos));
            if (i % 2 == 0)
                pieces.stage.read(out.data() + pos, in.data() + pos, n);
            else
                pieces.stage.filter_in_place(out.data() + pos, n);
            pos += std::size_t(n);
        }
        for (std::size_t i = 0; i < length; ++i)
            ASSERT_NEAR(out[i], expected[i], 1e-5f) << "type " << type << " sample " << i;
    }
}

TEST(FilterStage, no_subnormal_survives_in_the_state_while_a_tail_decays) {
    struct Case {
        int type;
        double cutoff, reso, q;
    };
    const Case cases[] = {
        {Biquad::low_pass, 40.0, 16.0, 1.0},   {Biquad::low_pass, 10240.0, 0.0625, 1.0},
        {Biquad::high_pass, 40.0, 16.0, 1.0},  {Biquad::high_pass, 5000.0, 0.5, 1.0},
        {Biquad::resonator, 40.0, 16.0, 10.0}, {Biquad::resonator, 3000.0, 0.0625, 0.1},
        {Biquad::band_pass, 40.0, 16.0, 10.0}, {Biquad::band_pass, 8000.0, 1.0, 0.1},
    };
    std::vector<float> block(block_size);
    for (const Case& c : cases) {
        FilterRig rig(44100.0f, c.type, c.cutoff, c.reso, c.q);
        int subnormal = 0;
        // A burst, then silence for about 12 s: the tail would otherwise sink
        // through the subnormal range on its way to 0.
        for (int b = 0; b < 2048; ++b) {
            for (int i = 0; i < block_size; ++i)
                block[std::size_t(i)] = b == 0 ? float(std::sin(0.3 * i)) : 0.0f;
            rig.stage.filter_in_place(block.data(), b % 2 == 0 ? block_size : block_size - 1);
            for (float v : rig.stage.biquad().state())
                subnormal += std::fpclassify(v) == FP_SUBNORMAL;
            for (float v : block)
                subnormal += std::fpclassify(v) == FP_SUBNORMAL;
        }
        EXPECT_EQ(subnormal, 0) << "type " << c.type << " cutoff " << c.cutoff;
    }
}
