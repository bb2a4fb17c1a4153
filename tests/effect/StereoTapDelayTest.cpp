// The four-tap pre-delay: pan gains, levels, delays, glides and crossfades.
#include "effect/StereoTapDelay.h"

#include "support/EngineHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace effect;

namespace {

struct TapRig {
    explicit TapRig(float rate = 44100.0f) {
        plugin.get_time_unit().set_unit_mode(mppi::TimeUnit::beats);
        taps.init(plugin);
        taps.set_sample_rate(rate);
        taps.set_defaults();
    }
    // Parameter of tap t (0..3): 0 time, 4 level, 8 pan; +1 period, +2 depth, +3 waveform.
    mppi::NormalizedParamInterface& param(int tap, int offset) {
        return *plugin.param_at(12 * tap + offset);
    }
    // Ticks of 256 frames of the input.
    test::Stereo run(const test::Stereo& in) {
        test::Stereo out = test::silence(in.size());
        for (std::size_t pos = 0; pos < in.size(); pos += 256) {
            const int n = int(std::min<std::size_t>(256, in.size() - pos));
            taps.tick();
            taps.process(out.left.data() + pos, out.right.data() + pos, in.left.data() + pos,
                         in.right.data() + pos, n);
        }
        return out;
    }

    mppi::PluginInternal plugin;
    StereoTapDelay taps;
};

test::Stereo sides(std::size_t n) {
    test::Stereo s = test::silence(n);
    for (std::size_t i = 0; i < n; ++i) {
        s.left[i] = float(i % 1000) * 1e-3f;
        s.right[i] = -float(i % 700) * 1e-3f;
    }
    return s;
}

} // namespace

TEST(StereoTapDelay, defaults_pass_the_input_through_tap_1_at_delay_0) {
    TapRig rig;
    const test::Stereo in = sides(2048);
    const test::Stereo out = rig.run(in);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);
}

// The input is held within 2^20 (not-a-number taken as -2^20), the same
// whether frames go in four at a time or one by one.
TEST(StereoTapDelay, input_is_held_within_2_to_the_20_in_any_run) {
    const float big = 1048576.0f, inf = std::numeric_limits<float>::infinity();
    const struct {
        float in, held;
    } cases[] = {{std::numeric_limits<float>::quiet_NaN(), -big},
                 {inf, big},
                 {-inf, -big},
                 {3e38f, big},
                 {-2e6f, -big},
                 {big, big},
                 {-1.5f, -1.5f},
                 {0.5f, 0.5f}};
    for (int run : {8, 1}) {
        TapRig rig;
        test::Stereo in = test::silence(8), out = test::silence(8);
        for (std::size_t i = 0; i < 8; ++i) {
            in.left[i] = cases[i].in;
            in.right[i] = cases[7 - i].in;
        }
        rig.taps.tick();
        for (int pos = 0; pos < 8; pos += run)
            rig.taps.process(out.left.data() + pos, out.right.data() + pos, in.left.data() + pos,
                             in.right.data() + pos, run);
        for (std::size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(std::memcmp(&out.left[i], &cases[i].held, sizeof(float)), 0) << i;
            EXPECT_EQ(std::memcmp(&out.right[i], &cases[7 - i].held, sizeof(float)), 0) << i;
        }
    }
}

TEST(StereoTapDelay, pan_gains) {
    struct Case {
        double pan;
        TapUnit::Gains g;
    };
    const Case cases[] = {{-1.0, {1, 0, 1, 0}},
                          {1.0, {0, 1, 0, 1}},
                          {0.0, {1, 0, 0, 1}},
                          {0.5, {0.5f, 0.5f, 0, 1}},
                          {-0.25, {1, 0, 0.25f, 0.75f}}};
    for (const Case& c : cases) {
        TapRig rig;
        rig.param(0, 8).set_internal(c.pan);
        rig.taps.reset();
        const TapUnit::Gains& g = rig.taps.tap(0).gains();
        EXPECT_FLOAT_EQ(g.ll, c.g.ll) << c.pan;
        EXPECT_FLOAT_EQ(g.lr, c.g.lr) << c.pan;
        EXPECT_FLOAT_EQ(g.rl, c.g.rl) << c.pan;
        EXPECT_FLOAT_EQ(g.rr, c.g.rr) << c.pan;
        // and the frames follow them: left out = ll·L + rl·R, right out = lr·L + rr·R
        const test::Stereo in = sides(512);
        const test::Stereo out = rig.run(in);
        for (std::size_t i = 0; i < in.size(); ++i) {
            ASSERT_FLOAT_EQ(out.left[i], c.g.ll * in.left[i] + c.g.rl * in.right[i]);
            ASSERT_FLOAT_EQ(out.right[i], c.g.lr * in.left[i] + c.g.rr * in.right[i]);
        }
    }
}

TEST(StereoTapDelay, taps_sum_at_their_delays_and_levels) {
    TapRig rig;
    rig.param(1, 0).set_internal(0.25); // tap 2 at 0.125 s: 5512.5 -> 5513 samples
    rig.param(1, 4).set_internal(0.5);
    rig.param(3, 0).set_internal(1.0); // tap 4 at 22050 samples
    rig.param(3, 4).set_internal(4.0); // +12 dB, used as is without an LFO
    rig.taps.reset();
    const test::Stereo in = test::impulse(23040);
    const test::Stereo out = rig.run(in);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float expected = i == 0 ? 1.0f : i == 5513 ? 0.5f : i == 22050 ? 4.0f : 0.0f;
        ASSERT_EQ(out.left[i], expected) << i;
        ASSERT_EQ(out.right[i], expected) << i;
    }
}

TEST(StereoTapDelay, a_modulated_level_stays_at_most_1) {
    TapRig rig;
    rig.param(0, 4).set_internal(4.0);
    rig.param(0, 6).set_internal(0.5);           // depth
    rig.param(0, 7).set_normalized(2.0f / 9.0f); // square
    rig.taps.reset();
    EXPECT_EQ(rig.taps.tap(0).level(), 1.0f);
    rig.run(test::silence(8192));
    EXPECT_LE(rig.taps.tap(0).level(), 1.0f);
}

TEST(StereoTapDelay, all_levels_0_give_silence) {
    TapRig rig;
    rig.param(0, 4).set_internal(0.0);
    rig.taps.reset();
    const test::Stereo out = rig.run(sides(1024));
    EXPECT_EQ(out.left, std::vector<float>(1024, 0.0f));
    EXPECT_EQ(out.right, std::vector<float>(1024, 0.0f));
}

TEST(StereoTapDelay, a_time_of_0_with_an_lfo_stays_at_delay_0) {
    TapRig rig;
    rig.param(0, 2).set_internal(1.0);
    rig.taps.reset();
    const test::Stereo in = sides(44100);
    const test::Stereo out = rig.run(in);
    EXPECT_EQ(rig.taps.tap(0).delay(), 0);
    EXPECT_EQ(out.left, in.left);
}

TEST(StereoTapDelay, buffer_sizes_follow_the_rate) {
    for (float rate : {11025.0f, 44100.0f, 96000.0f}) {
        TapRig rig(rate);
        EXPECT_EQ(rig.taps.buffer_size(), rate == 11025.0f   ? 65536
                                          : rate == 44100.0f ? 262144
                                                             : 524288);
        EXPECT_EQ(rig.taps.max_delay(), std::lround(4.0 * rate));
    }
}

// A tempo change moves a tap's delay at the next tick: within +576/-64
// samples it glides (interpolated reads at a speed within -1.25..1.25),
// beyond it crossfades the old and the new delay over the tick.
TEST(StereoTapDelay, glides_up_to_576_longer_or_64_shorter_else_crossfades) {
    struct Case {
        int change;
        bool glides;
    };
    const Case cases[] = {{576, true}, {577, false}, {-64, true}, {-65, false}, {3000, false}};
    for (const Case& c : cases) {
        TapRig rig;
        rig.param(0, 0).set_internal(0.75); // 16538 samples
        rig.taps.reset();
        test::Stereo ramp = test::silence(20480 + 256);
        for (std::size_t i = 0; i < ramp.size(); ++i)
            ramp.left[i] = ramp.right[i] = float(i) * 1e-6f;
        test::Stereo head = ramp;
        head.left.resize(20480);
        head.right.resize(20480);
        rig.run(head);
        const int from = rig.taps.tap(0).delay();
        ASSERT_EQ(from, 16538);
        rig.plugin.get_time_unit().set_tempo_value(1984500.0 / (from + c.change));
        rig.taps.tempo_changed();
        rig.taps.tick();
        const TapUnit& tap = rig.taps.tap(0);
        ASSERT_EQ(tap.delay() - tap.previous_delay(), c.change);
        std::vector<float> l(256), r(256);
        rig.taps.process(l.data(), r.data(), ramp.left.data() + 20480, ramp.right.data() + 20480,
                         256);
        for (int j = 0; j < 256; ++j) {
            const double now = 20480 + j;
            double expected;
            if (c.glides) {
                expected = (now - (from + c.change / 256.0 * j)) * 1e-6;
            } else {
                const double t = j / 256.0;
                expected = (1 - t) * (now - from) * 1e-6 + t * (now - from - c.change) * 1e-6;
            }
            ASSERT_NEAR(l[std::size_t(j)], expected, 3e-9) << c.change << " " << j;
        }
    }
}

// A glide's frames are mixed several at a time where a run is long enough
// and one by one elsewhere: any cut of the tick into runs gives, bit for bit,
// the tick read whole, with gains ramping or not.
TEST(StereoTapDelay, a_gliding_tick_cut_into_runs_matches_it_whole) {
    struct Case {
        std::vector<int> runs;
        bool ramp;
    };
    const Case cases[] = {{{1}, true}, {{3, 5}, true}, {{7, 2, 4}, false}, {{6}, false}};
    const test::Stereo in = sides(20480 + 256);
    std::vector<float> whole[2][2]; // [ramp][channel]
    for (const Case& c : cases) {
        for (bool cut : {false, true}) {
            TapRig rig;
            rig.param(0, 0).set_internal(0.75);
            rig.param(1, 0).set_internal(0.5);
            rig.param(1, 4).set_internal(0.5);
            rig.param(1, 8).set_internal(0.3);
            rig.taps.reset();
            test::Stereo head = in;
            head.left.resize(20480);
            head.right.resize(20480);
            rig.run(head);
            // Both taps glide (the tempo scales their times); tap 2's gains may ramp.
            rig.plugin.get_time_unit().set_tempo_value(1984500.0 / (16538 + 300));
            rig.taps.tempo_changed();
            if (c.ramp)
                rig.param(1, 8).set_internal(-0.6);
            rig.taps.tick();
            std::vector<float> l(256), r(256);
            for (std::size_t pos = 0, k = 0; pos < 256; ++k) {
                const std::size_t n =
                    cut ? std::min<std::size_t>(256 - pos, std::size_t(c.runs[k % c.runs.size()]))
                        : 256;
                rig.taps.process(l.data() + pos, r.data() + pos, in.left.data() + 20480 + pos,
                                 in.right.data() + 20480 + pos, int(n));
                pos += n;
            }
            if (!cut) {
                whole[c.ramp][0] = l;
                whole[c.ramp][1] = r;
                continue;
            }
            EXPECT_EQ(std::memcmp(l.data(), whole[c.ramp][0].data(), sizeof(float) * 256), 0);
            EXPECT_EQ(std::memcmp(r.data(), whole[c.ramp][1].data(), sizeof(float) * 256), 0);
        }
    }
}
