// The engine's host contract: its parameter list, properties, tempo,
// programs, flags and output modes.
#include "support/EngineHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// The full names the index table gives, built independently of the engine.
std::vector<std::string> expected_names() {
    std::vector<std::string> names;
    const auto with_lfo = [&](const std::string& base) {
        names.push_back(base);
        names.push_back(base + " LFO period");
        names.push_back(base + " LFO depth");
        names.push_back(base + " LFO WF");
    };
    names.push_back("Flags");
    names.push_back("Tempo");
    names.push_back("Predly lvl");
    with_lfo("Fdbk sep.");
    for (int t = 1; t <= 4; ++t) {
        const std::string tap = "Tap " + std::to_string(t);
        with_lfo(tap + " time");
        with_lfo(tap + " level");
        with_lfo(tap + " pan");
    }
    for (int k = 1; k <= 2; ++k) {
        const std::string d = "D" + std::to_string(k);
        names.push_back(d + " level");
        with_lfo(d + " pan");
        with_lfo(d + " time");
        with_lfo(d + " fdbk");
        names.push_back(d + " filt type");
        with_lfo(d + " filt cutoff");
        with_lfo(d + " filt reso");
        with_lfo(d + " filt Q");
        names.push_back(d + " disto type");
        with_lfo(d + " disto lvl");
        names.push_back(d + " HS cutoff");
        names.push_back(d + " HS level");
    }
    return names;
}

} // namespace

TEST(Algo, every_index_has_the_name_of_its_position) {
    test::Engine e;
    const std::vector<std::string> names = expected_names();
    ASSERT_EQ(names.size(), 121u);
    ASSERT_EQ(e.algo.get_nbr_param(), 121);
    for (int i = 0; i < 121; ++i)
        EXPECT_EQ(e.algo.get_param(i)->get_name(), names[std::size_t(i)]) << "index " << i;
    // Spot checks against the table's anchors.
    EXPECT_EQ(e.algo.get_param(4)->get_name(), "Fdbk sep. LFO period");
    EXPECT_EQ(e.algo.get_param(7)->get_name(), "Tap 1 time");
    EXPECT_EQ(e.algo.get_param(54)->get_name(), "Tap 4 pan LFO WF");
    EXPECT_EQ(e.algo.get_param(55)->get_name(), "D1 level");
    EXPECT_EQ(e.algo.get_param(120)->get_name(), "D2 HS level");
}

TEST(Algo, attributes_by_kind) {
    test::Engine e;
    EXPECT_EQ(e.param("Flags").get_attribute(), 1);
    EXPECT_EQ(e.param("Fdbk sep.").get_attribute(), 3);
    EXPECT_EQ(e.param("Fdbk sep. LFO WF").get_attribute(), 3);
    EXPECT_EQ(e.param("Tap 2 time").get_attribute(), 4);
    EXPECT_EQ(e.param("D2 filt Q").get_attribute(), 2);
    EXPECT_EQ(e.param("D1 HS level").get_attribute(), 3);
    EXPECT_EQ(e.param("D1 fdbk LFO depth").get_attribute(), 1);
}

TEST(Algo, host_contract_answers) {
    test::Engine e;
    EXPECT_EQ(e.host->init_notices, 1);
    EXPECT_EQ(e.algo.get_num_property("plugin_version"), 1.03);
    EXPECT_EQ(e.algo.get_num_property("can_mono"), 1.0);
    EXPECT_EQ(e.algo.get_num_property("can_scaled_val"), 0.0);
    EXPECT_EQ(e.algo.get_num_property("can_fly"), 0.0);
    EXPECT_EQ(e.algo.get_str_property("plugin_name"), "Quevrin");
    EXPECT_EQ(e.algo.get_str_property("plugin_version"), "");
    EXPECT_EQ(e.algo.get_min_sample_rate(), 4000);
    EXPECT_EQ(e.algo.get_max_sample_rate(), 384000);
    EXPECT_EQ(e.algo.get_in_bus(0).name, "Input");
    EXPECT_EQ(e.algo.get_in_bus(0).channels,
              (std::vector<std::string>{"Left input", "Right input"}));
    EXPECT_EQ(e.algo.get_out_bus(0).name, "Output");
    EXPECT_EQ(e.algo.get_out_bus(0).get_nbr_channels(), 2);
    EXPECT_EQ(e.algo.get_time_unit().get_unit_mode(), mppi::TimeUnit::beats);
}

TEST(Algo, set_tempo_folds_into_60_to_240) {
    struct Case {
        float in;
        double out;
    };
    const Case cases[] = {{30, 60},   {500, 125},  {240, 240},   {60, 60},
                          {7.5f, 60}, {1000, 125}, {241, 120.5}, {59, 118}};
    test::Engine e;
    for (const Case& c : cases) {
        e.algo.set_tempo(c.in);
        EXPECT_EQ(e.param("Tempo").get_internal(), c.out) << c.in;
        EXPECT_EQ(e.algo.get_time_unit().get_tempo(), c.out) << c.in;
    }
    // A tempo that cannot be folded changes nothing.
    for (float bad : {0.0f, -120.0f, NAN, INFINITY}) {
        e.algo.set_tempo(bad);
        EXPECT_EQ(e.param("Tempo").get_internal(), 118.0) << bad; // the last tempo set
    }
}

namespace {

struct CountingTarget : mppi::NotifiedInterface {
    void notify(mppi::NotifierInterface*) noexcept override { ++count; }
    int count = 0;
};

} // namespace

TEST(Algo, store_then_load_round_trips_and_skips_equal_values) {
    test::Engine e;
    mppi::ProgramSlot program;
    e.algo.store_prog(program);
    ASSERT_EQ(program.get_nbr_values(), 121);
    EXPECT_FLOAT_EQ(program.get_value(0), 0.25f); // flags 64

    // Equal values notify nobody.
    CountingTarget spy;
    mppi::NormalizedParamInterface& level = e.param("D1 level");
    level.set_target(&spy);
    e.algo.load_prog(program);
    EXPECT_EQ(spy.count, 0);
    program.set_value(55, 0.5f);
    e.algo.load_prog(program);
    EXPECT_EQ(spy.count, 1);
    EXPECT_EQ(level.get_normalized(), 0.5f);
}

TEST(Algo, load_prog_leaves_the_tempo_to_a_host_that_supplies_it) {
    for (double can_tempo : {0.0, 1.0}) {
        test::Engine e(44100.0f, can_tempo);
        mppi::ProgramSlot program;
        e.algo.store_prog(program);
        program.set_value(1, 1.0f); // 240 BPM
        program.set_value(2, 0.5f);
        e.algo.load_prog(program);
        EXPECT_EQ(e.param("Tempo").get_internal(), can_tempo != 0.0 ? 120.0 : 240.0);
        EXPECT_EQ(e.param("Predly lvl").get_normalized(), 0.5f);
    }
}

TEST(Algo, a_short_or_damaged_program_applies_what_it_holds) {
    test::Engine e;
    mppi::ProgramSlot program;
    program.set_nbr_values(3);
    program.set_value(0, 0.5f); // flags 128: nothing but an unused bit
    program.set_value(1, NAN);  // skipped
    program.set_value(2, 7.0f); // limited to 1
    e.algo.load_prog(program);
    EXPECT_EQ(e.param("Flags").get_normalized(), 0.5f);
    EXPECT_EQ(e.param("Tempo").get_internal(), 120.0);
    EXPECT_EQ(e.param("Predly lvl").get_normalized(), 1.0f);
    EXPECT_EQ(e.param("Tap 1 level").get_internal(), 1.0); // beyond the program: untouched
}

TEST(Algo, reset_restores_every_default) {
    test::Engine e;
    mppi::ProgramSlot defaults;
    e.algo.store_prog(defaults);
    for (int i = 0; i < 121; ++i)
        e.algo.get_param(i)->set_normalized(0.37f);
    e.algo.reset();
    mppi::ProgramSlot after;
    e.algo.store_prog(after);
    for (int i = 0; i < 121; ++i)
        EXPECT_EQ(after.get_value(i), defaults.get_value(i)) << e.algo.get_param(i)->get_name();
}

TEST(Algo, mono_output_carries_left_plus_right) {
    test::Engine stereo;
    test::Engine mono;
    mono.host->out_channels = 1;
    for (test::Engine* e : {&stereo, &mono}) {
        e->set("Tap 1 pan", 0.4);
        e->set("D1 pan", -0.6);
    }
    const test::Stereo in = test::noise(20000);
    const test::Stereo s = stereo.render(in, 256);
    test::Stereo m = test::silence(in.size());
    std::vector<float> untouched(in.size(), 7.0f);
    m.right = untouched;
    for (std::size_t pos = 0; pos < in.size(); pos += 256) {
        const int n = int(std::min<std::size_t>(256, in.size() - pos));
        const float* i2[2] = {in.left.data() + pos, in.right.data() + pos};
        float* o2[2] = {m.left.data() + pos, m.right.data() + pos};
        mono.algo.process_replace(o2, i2, n, false);
    }
    for (std::size_t i = 0; i < in.size(); ++i)
        ASSERT_EQ(m.left[i], s.left[i] + s.right[i]) << i;
    EXPECT_EQ(m.right, untouched); // the second output is not touched
}

TEST(Algo, process_add_adds_exactly_what_process_replace_writes) {
    test::Engine a;
    test::Engine b;
    for (test::Engine* e : {&a, &b}) {
        e->set("Flags", 64 + 32);
        e->set("D1 filt type", 0);
        e->set("D1 filt reso", 4.0);
        e->set("D2 disto lvl", 0.6);
        e->set("Tap 2 level", 0.7);
        e->set("Tap 2 time", 0.3);
    }
    const test::Stereo in = test::noise(30000);
    const test::Stereo replaced = a.render(in, 300);
    test::Stereo added = test::noise(in.size(), 0.25f, 7);
    const test::Stereo base = added;
    for (std::size_t pos = 0; pos < in.size(); pos += 300) {
        const int n = int(std::min<std::size_t>(300, in.size() - pos));
        const float* i2[2] = {in.left.data() + pos, in.right.data() + pos};
        float* o2[2] = {added.left.data() + pos, added.right.data() + pos};
        b.algo.process_add(o2, i2, n, false);
    }
    for (std::size_t i = 0; i < in.size(); ++i) {
        ASSERT_EQ(added.left[i], base.left[i] + replaced.left[i]) << i;
        ASSERT_EQ(added.right[i], base.right[i] + replaced.right[i]) << i;
    }
}

TEST(Algo, two_lines_and_sustain_keep_circulating_without_new_input) {
    test::Engine a;
    test::Engine b;
    const test::Stereo history = test::noise(44100, 0.3f);
    for (test::Engine* e : {&a, &b}) {
        e->set("Flags", 32); // two lines, times in seconds
        e->set("D1 time", 0.25);
        e->set("D2 time", 0.375);
        e->render(history, 256);
        e->set("Flags", 48);                // two lines + sustain
        e->render(test::silence(512), 256); // one tick to take it, one to ramp
    }
    // No input enters and the pre-delay is absent: silence and a loud input
    // give the same output.
    const test::Stereo from_silence = a.render(test::silence(88200), 256);
    const test::Stereo from_noise = b.render(test::noise(88200, 1.0f, 9), 256);
    ASSERT_EQ(from_silence.left, from_noise.left);
    ASSERT_EQ(from_silence.right, from_noise.right);
    // With feedback 1 the loop keeps its level: the second second is as loud
    // as the first.
    const auto energy = [&](std::size_t from, std::size_t to) {
        double sum = 0;
        for (std::size_t i = from; i < to; ++i)
            sum += double(from_silence.left[i]) * from_silence.left[i];
        return sum;
    };
    const double first = energy(0, 44100);
    const double second = energy(44100, 88200);
    EXPECT_GT(first, 100.0);
    EXPECT_NEAR(second / first, 1.0, 0.05);
}

TEST(Algo, separation_modulation_stays_within_0_and_1) {
    EXPECT_EQ(effect::Algo::FdbkSepModifier::apply(0.9, 1.0, 1.0), 1.0); // not 1.4
    EXPECT_EQ(effect::Algo::FdbkSepModifier::apply(0.1, -1.0, 1.0), 0.0);
    EXPECT_DOUBLE_EQ(effect::Algo::FdbkSepModifier::apply(0.5, 0.5, 0.4), 0.6);
}
