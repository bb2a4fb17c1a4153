// A delay line on its own: buffer sizes, delays in samples, glides versus
// jumps on time changes, run lengths.
#include "effect/DelayLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace effect;

namespace {

// One line driven as the engine drives it: a tick every 256 samples, runs
// cut by max_run(), the input written where the write pointer was.
struct LineRig {
    explicit LineRig(float rate = 44100.0f) {
        plugin.get_time_unit().set_unit_mode(mppi::TimeUnit::beats);
        line.init(0, plugin, mixer);
        line.set_sample_rate(rate);
        line.set_defaults(false);
    }
    mppi::NormalizedParamInterface& time() { return *plugin.param_at(5); }

    // One control tick of 256 samples; returns the line's output.
    std::vector<float> block(const std::function<float(long)>& input) {
        line.tick();
        std::vector<float> out;
        for (int pos = 0; pos < 256;) {
            const int run = std::min(256 - pos, line.max_run());
            max_run_seen = std::max(max_run_seen, run);
            float* w = line.write_pointer();
            const float* x = line.read(run);
            for (int i = 0; i < run; ++i) {
                out.push_back(x[i]);
                w[i] = input(t + i);
            }
            pos += run;
            t += run;
        }
        return out;
    }

    mppi::PluginInternal plugin;
    DelayMixer mixer;
    DelayLine line;
    long t = 0;
    int max_run_seen = 0;
};

// A slow, small ramp: distinct samples that the loop's level control leaves alone.
float ramp(long n) {
    return float(n % 100000) * 1e-6f;
}

} // namespace

TEST(DelayLine, buffer_sizes_per_sample_rate) {
    struct Case {
        float rate;
        int size;
    };
    const Case cases[] = {{11025, 65536},  {22050, 131072}, {44100, 262144},  {48000, 262144},
                          {96000, 524288}, {4000, 65536},   {192000, 1048576}};
    for (const Case& c : cases) {
        LineRig rig(c.rate);
        EXPECT_EQ(rig.line.buffer_size(), c.size) << c.rate;
        EXPECT_EQ(rig.line.max_delay(), std::lround(4.0 * c.rate)) << c.rate;
    }
}

TEST(DelayLine, longest_delay_is_four_beats) {
    LineRig rig;
    rig.time().set_internal(4.0);
    rig.plugin.get_time_unit().set_tempo_value(60.0);
    rig.line.reset();
    EXPECT_EQ(rig.line.delay(), 176400); // 4 s
    rig.plugin.get_time_unit().set_tempo_value(240.0);
    rig.line.reset();
    EXPECT_EQ(rig.line.delay(), 44100); // 1 s
}

TEST(DelayLine, a_delay_of_half_a_sample_rounds_upward) {
    LineRig rig;
    EXPECT_EQ(rig.line.delay(), 16538); // 0.375 s at 44.1 kHz is 16537.5 samples
}

TEST(DelayLine, the_output_is_the_input_delayed) {
    LineRig rig;
    rig.time().set_internal(0.25); // 0.125 s: 5512.5 samples, rounded up
    rig.line.reset();
    ASSERT_EQ(rig.line.delay(), 5513);
    std::vector<float> out;
    for (int b = 0; b < 24; ++b) {
        const std::vector<float> o = rig.block(ramp);
        out.insert(out.end(), o.begin(), o.end());
    }
    for (long n = 0; n < long(out.size()); ++n)
        ASSERT_EQ(out[std::size_t(n)], n < 5513 ? 0.0f : ramp(n - 5513)) << n;
}

TEST(DelayLine, a_short_delay_limits_the_run) {
    LineRig rig;
    rig.time().set_internal(1.0 / 128); // the shortest: 172 samples
    rig.line.reset();
    for (int b = 0; b < 4; ++b)
        rig.block(ramp);
    EXPECT_EQ(rig.line.delay(), 172);
    EXPECT_LE(rig.max_run_seen, 172);
}

// A tempo change moves the delay at the next tick by `change` samples: the
// line glides (the buffer is left alone and the read position moves
// linearly) when the read speed stays within -2..2, else it jumps and
// crossfades the buffer around the new read position.
TEST(DelayLine, glides_up_to_768_longer_or_256_shorter_else_jumps) {
    struct Case {
        int change;
        bool glides;
    };
    const Case cases[] = {{768, true}, {769, false}, {-256, true},  {-257, false},
                          {1, true},   {300, true},  {5000, false}, {-5000, false}};
    for (const Case& c : cases) {
        LineRig rig;
        for (int b = 0; b < 80; ++b) // fill the buffer with the ramp
            rig.block(ramp);
        const int from = rig.line.delay();
        ASSERT_EQ(from, 16538);
        // 0.75 beat lasts 1984500 / tempo samples at 44.1 kHz.
        rig.plugin.get_time_unit().set_tempo_value(1984500.0 / (from + c.change));
        rig.line.tempo_changed();

        const std::vector<float> before(rig.line.buffer().begin(), rig.line.buffer().end());
        const long w0 = long(rig.line.write_pointer() - rig.line.buffer().data());
        const long t0 = rig.t;
        const std::vector<float> out = rig.block(ramp);
        ASSERT_EQ(rig.line.delay() - rig.line.current_delay(), c.change);

        long touched = 0;
        const long n = long(before.size());
        for (long i = 0; i < n; ++i) {
            const bool written_now = ((i - w0 + n) % n) < 256;
            if (!written_now && before[std::size_t(i)] != rig.line.buffer()[std::size_t(i)])
                ++touched;
        }
        EXPECT_EQ(touched == 0, c.glides) << c.change << ": " << touched << " samples crossfaded";
        if (c.glides) {
            const double g = c.change / 256.0;
            for (int j = 0; j < 256; ++j) {
                const double position = double(t0 + j) - (from + g * j);
                ASSERT_NEAR(out[std::size_t(j)], position * 1e-6, 2e-9) << c.change << " " << j;
            }
        } else {
            // After the jump the line plays from the new delay, blended with
            // the old one: 255 samples past the new read start, 1/256 of the old.
            const int d = rig.line.delay();
            const double old_weight = 1.0 - 255.0 / 256.0;
            const auto written = [](long n) { return n >= 0 ? n * 1e-6 : 0.0; };
            const double expected =
                old_weight * written(t0 + 255 - from) + (1.0 - old_weight) * written(t0 + 255 - d);
            ASSERT_NEAR(out[255], expected, 2e-9) << c.change;
        }
        // The next tick reads plainly at the new delay.
        const long t1 = rig.t;
        const std::vector<float> next = rig.block(ramp);
        EXPECT_EQ(rig.line.current_delay(), rig.line.delay());
        const long source = t1 - rig.line.delay();
        EXPECT_EQ(next[0], source >= 0 ? ramp(source) : 0.0f) << c.change;
    }
}

TEST(DelayLine, modulation_never_leaves_the_limits) {
    struct Case {
        double b, l, d, lo, hi;
        double (*apply)(double, double, double);
    };
    const Case cases[] = {
        {0.9, 1, 1, 0, 1, DelayLine::FdbkModifier::apply},
        {0.1, -1, 1, 0, 1, DelayLine::FdbkModifier::apply},
        {4.0, 1, 1, 1.0 / 128, 4, DelayLine::TimeModifier::apply},
        {1.0 / 128, -1, 1, 1.0 / 128, 4, DelayLine::TimeModifier::apply},
        {0.9, 1, 1, -1, 1, DelayLine::PanModifier::apply},
        {-0.5, -1, 1, -1, 1, DelayLine::PanModifier::apply},
    };
    for (const Case& c : cases) {
        for (double l = -1.0; l <= 1.0; l += 0.125) {
            const double v = c.apply(c.b, l * c.l, c.d);
            EXPECT_GE(v, c.lo);
            EXPECT_LE(v, c.hi);
        }
    }
    EXPECT_EQ(DelayLine::FdbkModifier::apply(0.9, 1.0, 1.0), 1.0);
    EXPECT_EQ(DelayLine::TimeModifier::apply(1.0 / 128, -1.0, 1.0), 1.0 / 128);
    EXPECT_EQ(DelayLine::PanModifier::apply(0.5, 1.0, 1.0), 1.0);
}

// Two lines read side by side (their filters in vector lanes, gliding reads
// made inside the filters' loop) give, bit for bit, what each gives when read
// alone: both gliding, one gliding, a jump beside a glide, a neutral filter.
TEST(DelayLine, two_lines_read_as_a_pair_match_each_read_alone) {
    struct Lines {
        Lines() {
            plugin.get_time_unit().set_unit_mode(mppi::TimeUnit::beats);
            for (int k = 0; k < 2; ++k) {
                line[k].init(k, plugin, mixer);
                line[k].set_sample_rate(44100.0f);
                line[k].set_defaults(true);
            }
        }
        void set(const std::string& name, double value) {
            for (int i = 0; i < plugin.get_nbr_params_added(); ++i)
                if (plugin.param_at(i)->get_name() == name)
                    plugin.param_at(i)->set_internal(value);
        }
        mppi::PluginInternal plugin;
        DelayMixer mixer;
        DelayLine line[2];
    };
    struct Case {
        int step_a, step_b; // delay change per tick in samples: up to 768 glides
        bool neutral_b;
    };
    const Case cases[] = {{100, -37, false}, {55, 200, true}, {90, 0, false}, {3000, 120, false}};
    for (const Case& c : cases) {
        Lines paired, alone;
        for (Lines* l : {&paired, &alone}) {
            for (const char* d : {"D1", "D2"}) {
                l->set(std::string(d) + " filt type", 0);
                l->set(std::string(d) + " filt reso", 4.0);
                l->set(std::string(d) + " filt cutoff", 2500.0);
            }
            if (c.neutral_b)
                l->set("D2 filt type", 2);
            l->set("D2 filt reso", c.neutral_b ? 1.0 : 4.0);
        }
        unsigned seed = 1;
        int changes = 0;
        for (int tick = 0; tick < 60; ++tick) {
            // A new delay from tick 20 on; 120 BPM: a beat is 22050 samples.
            const double beats_a = (2000.0 + c.step_a * std::max(0, tick - 20)) / 22050.0;
            const double beats_b = (3000.0 + c.step_b * std::max(0, tick - 20)) / 22050.0;
            for (Lines* l : {&paired, &alone}) {
                l->set("D1 time", beats_a);
                l->set("D2 time", beats_b);
                l->line[0].tick();
                l->line[1].tick();
            }
            changes += paired.line[0].delay() != paired.line[0].current_delay();
            for (int pos = 0; pos < 256;) {
                const int run =
                    std::min({256 - pos, paired.line[0].max_run(), paired.line[1].max_run()});
                float* w[2][2] = {{paired.line[0].write_pointer(), paired.line[1].write_pointer()},
                                  {alone.line[0].write_pointer(), alone.line[1].write_pointer()}};
                DelayLine::read_pair(paired.line[0], paired.line[1], run);
                const float* a = alone.line[0].read(run);
                ASSERT_EQ(std::memcmp(paired.line[0].output(), a, sizeof(float) * std::size_t(run)),
                          0)
                    << c.step_a << " at tick " << tick;
                const float* b = alone.line[1].read(run);
                ASSERT_EQ(std::memcmp(paired.line[1].output(), b, sizeof(float) * std::size_t(run)),
                          0)
                    << c.step_b << " at tick " << tick;
                for (int i = 0; i < run; ++i) {
                    seed = seed * 1664525u + 1013904223u;
                    const float x = float(seed >> 8) / float(1u << 24) - 0.5f;
                    for (auto& lines : w) {
                        lines[0][i] = x;
                        lines[1][i] = 0.5f * x + paired.line[0].output()[i];
                    }
                }
                pos += run;
            }
        }
        EXPECT_GT(changes, 30) << c.step_a;
    }
}

// A loud input (taps at +12 dB summing into the line) after a quiet one
// meets a loop whose level control has not caught up yet: what the line
// plays, and so feeds back, stays within its ceiling all the same.
TEST(DelayLine, plays_nothing_above_its_ceiling_however_loud_its_input) {
    LineRig rig(48000.0f);
    float loudest = 0.0f;
    for (int b = 0; b < 300; ++b) {
        const std::vector<float> out = rig.block(
            [](long n) { return (n < 100 * 256 ? 1e-3f : 64.0f) * std::sin(0.05f * float(n)); });
        for (const float x : out)
            loudest = std::max(loudest, std::abs(x));
    }
    EXPECT_GT(loudest, 0.5f * DelayLine::output_ceiling);
    EXPECT_LE(loudest, DelayLine::output_ceiling);
}
