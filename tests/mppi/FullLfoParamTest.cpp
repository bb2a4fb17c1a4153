// An LFO coupling glides its base over 0.1 s, modulates it through its
// modifier once per control block and keeps its companions in program order.
#include "mppi/FullLfoParam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A plain 0..1 parameter.
class UnitParam : public mppi::ParamNamed {
public:
    std::string get_unit() const override { return ""; }
    double to_internal(float x) const noexcept override { return x; }
    double to_normalized(double v) const noexcept override { return v; }
    std::string to_text(double v) const override { return std::to_string(v); }
    double from_text(const std::string&, bool& ok) const override {
        ok = false;
        return 0.0;
    }
    std::string get_prefix() const override { return ""; }
    std::string get_suffix() const override { return ""; }
};

struct HalfDepthModifier {
    static double apply(double b, double l, double d) {
        return std::clamp(b + l * d / 2, 0.0, 1.0);
    }
};

struct Counter : mppi::NotifiedInterface {
    void notify(mppi::NotifierInterface*) noexcept override { ++count; }
    int count = 0;
};

struct Coupling {
    Coupling(double base_value = 0.5) {
        base = std::make_shared<UnitParam>();
        base->init_named(base_value, 3, "Fdbk sep.");
        lfo.init(base, plugin);
        lfo.set_target(&owner);
    }
    mppi::NormalizedParamInterface& period() { return *plugin.param_at(1); }
    mppi::NormalizedParamInterface& depth() { return *plugin.param_at(2); }
    mppi::NormalizedParamInterface& waveform() { return *plugin.param_at(3); }

    mppi::PluginInternal plugin;
    std::shared_ptr<UnitParam> base;
    mppi::FullLfoParam<HalfDepthModifier> lfo;
    Counter owner;
};

} // namespace

TEST(FullLfoParam, adds_base_period_depth_and_waveform_in_a_row) {
    Coupling c;
    ASSERT_EQ(c.plugin.get_nbr_params_added(), 4);
    EXPECT_EQ(c.plugin.param_at(0), c.base.get());
    EXPECT_EQ(c.period().get_name(), "Fdbk sep. LFO period");
    EXPECT_EQ(c.depth().get_name(), "Fdbk sep. LFO depth");
    EXPECT_EQ(c.waveform().get_name(), "Fdbk sep. LFO WF");
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(c.plugin.param_at(i)->get_attribute(), 3);
    EXPECT_DOUBLE_EQ(c.period().get_internal(), 1.0);
    EXPECT_DOUBLE_EQ(c.period().get_normalized(), float(6.0 / 14.0));
    EXPECT_EQ(c.depth().get_internal(), 0.0);
    EXPECT_EQ(c.waveform().to_text(c.waveform().get_internal()), "Sine");
}

TEST(FullLfoParam, depth_0_follows_the_base_through_a_01_s_glide) {
    Coupling c(0.2);
    c.lfo.set_sample_rate(44100.0f);
    c.lfo.reset();
    c.base->set_normalized(0.8f);
    EXPECT_DOUBLE_EQ(c.lfo.get_value(), double(0.2f)); // nothing moves before the next block
    // 0.1 s at 44100 Hz is 4410 samples: 17 blocks of 256 and a bit.
    double previous = double(0.2f);
    for (int block = 0; block < 17; ++block) {
        c.lfo.tick(256);
        EXPECT_GT(c.lfo.get_value(), previous);
        EXPECT_LT(c.lfo.get_value(), 0.8f);
        previous = c.lfo.get_value();
    }
    EXPECT_NEAR(c.lfo.get_value(), 0.2 + 0.6 * 17 * 256 / 4410.0, 1e-6);
    c.lfo.tick(256);
    EXPECT_EQ(c.lfo.get_value(), double(0.8f));
    // The oscillator did not advance.
    EXPECT_EQ(c.lfo.oscillator().get_phase(), 0.0);
    const int told = c.owner.count;
    c.lfo.tick(256); // settled: nobody is told
    EXPECT_EQ(c.owner.count, told);
}

TEST(FullLfoParam, reset_jumps_to_the_target) {
    Coupling c(0.2);
    c.base->set_normalized(0.6f);
    c.lfo.reset();
    EXPECT_EQ(c.lfo.get_value(), double(0.6f));
}

TEST(FullLfoParam, the_modifier_limits_the_modulated_value) {
    Coupling c(0.9);
    c.depth().set_normalized(1.0f);
    c.waveform().set_normalized(2.0f / 9.0f); // square: +1 for the first half period
    c.lfo.reset();
    EXPECT_EQ(c.lfo.get_value(), 1.0); // 0.9 + 1·1/2, limited
    c.lfo.tick(256);
    EXPECT_EQ(c.lfo.get_value(), 1.0);
}

TEST(FullLfoParam, a_running_lfo_tells_the_owner_every_block) {
    Coupling c(0.5);
    c.depth().set_normalized(0.5f);
    c.lfo.reset();
    const int before = c.owner.count;
    for (int i = 0; i < 10; ++i)
        c.lfo.tick(256);
    EXPECT_EQ(c.owner.count, before + 10);
}

TEST(FullLfoParam, the_period_follows_beats_and_tempo) {
    Coupling c;
    c.plugin.get_time_unit().set_tempo_value(120.0);
    c.period().set_normalized(11.0f / 14.0f); // 32 beats
    c.depth().set_normalized(0.6f);
    c.waveform().set_normalized(2.0f / 9.0f);
    c.lfo.set_sample_rate(1000.0f);
    c.lfo.tick(256);
    const double beats = c.period().get_internal();
    EXPECT_NEAR(beats, 32.0, 1e-4);
    // 32 beats at 120 BPM last 16 s: 16 phase units per 16000 samples.
    const double per_block = 256.0 * 16.0 / (1000.0 * beats * 0.5);
    EXPECT_NEAR(c.lfo.oscillator().get_phase(), per_block, 1e-12);
    EXPECT_NEAR(c.lfo.get_value(), 0.5 + 0.6 / 2, 1e-6);

    c.plugin.get_time_unit().set_tempo_value(240.0);
    c.lfo.tempo_changed();
    c.lfo.tick(256);
    EXPECT_NEAR(c.lfo.oscillator().get_phase(), 3 * per_block, 1e-12);
}

TEST(FullLfoParam, a_sample_rate_change_keeps_the_glide_duration) {
    Coupling c(0.0);
    c.lfo.set_sample_rate(1000.0f);
    c.base->set_normalized(1.0f);
    c.lfo.tick(10); // 10 of 100 samples
    EXPECT_NEAR(c.lfo.get_value(), 0.1, 1e-6);
    c.lfo.set_sample_rate(2000.0f); // the rest takes 180 samples now
    c.lfo.tick(90);
    EXPECT_NEAR(c.lfo.get_value(), 0.1 + 0.9 * 90 / 180.0, 1e-6);
}

TEST(LfoCompanions, texts_and_parsing) {
    Coupling c;
    mppi::TimeUnit& unit = c.plugin.get_time_unit();
    unit.set_unit_mode(mppi::TimeUnit::beats);
    unit.set_tempo_value(120.0);
    bool ok = false;
    EXPECT_DOUBLE_EQ(c.period().from_text("1/2", ok), 0.5);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(c.period().from_text("100000 s", ok), 256.0);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(c.period().from_text("0", ok), 1.0 / 64.0);
    c.period().from_text("x", ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(c.period().to_text(0.5), "1/2");
    EXPECT_EQ(c.period().get_unit(), "beat");

    EXPECT_EQ(c.depth().to_text(0.5), "50.00");
    EXPECT_EQ(c.depth().to_text(1.0), "100.00");
    EXPECT_DOUBLE_EQ(c.depth().from_text("25", ok), 0.25);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(c.depth().from_text("250", ok), 1.0);
    c.depth().from_text("deep", ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(c.depth().get_unit(), "%");

    const char* names[] = {"Sine",      "Triangle", "Square", "Ramp up",     "Cos up",
                           "Ramp down", "Cos down", "Random", "Brown noise", "White noise"};
    for (int i = 0; i < 10; ++i) {
        const double v = c.waveform().to_internal(float(i / 9.0));
        EXPECT_EQ(v, i);
        EXPECT_EQ(c.waveform().to_text(v), names[i]);
    }
    c.waveform().from_text("Sine", ok);
    EXPECT_FALSE(ok);
}

TEST(LfoCompanions, a_programs_values_come_base_period_depth_waveform) {
    Coupling c;
    const float values[] = {0.4f, 11.0f / 14.0f, 0.6f, 2.0f / 9.0f};
    for (int i = 0; i < 4; ++i)
        c.plugin.param_at(i)->set_normalized(values[i]);
    EXPECT_FLOAT_EQ(float(c.base->get_internal()), 0.4f);
    EXPECT_NEAR(c.period().get_internal(), 32.0, 1e-5);
    EXPECT_FLOAT_EQ(float(c.depth().get_internal()), 0.6f);
    EXPECT_EQ(c.waveform().to_text(c.waveform().get_internal()), "Square");
}
