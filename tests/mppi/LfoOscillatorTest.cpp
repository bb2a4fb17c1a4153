// The oscillator's ten waveforms at their defining phases, its random
// generator and the table-driven sine.
#include "mppi/LfoOscillator.h"
#include "mppi/SineTable.h"

#include <gtest/gtest.h>

#include <cmath>

using mppi::LfoOscillator;

namespace {

// An oscillator of the type at phase p: period 16 samples at rate 1 makes
// one sample one phase unit.
LfoOscillator at_phase(int type, double p) {
    LfoOscillator osc;
    osc.set_sample_rate(1.0f);
    osc.set_period(16.0);
    osc.set_type(type);
    osc.reset();
    // Advance in whole samples, then the fraction through a slower period.
    osc.advance(static_cast<int>(p));
    const double frac = p - std::floor(p);
    if (frac > 0.0) {
        osc.set_period(16.0 / frac);
        osc.advance(1);
    }
    return osc;
}

} // namespace

TEST(LfoOscillator, every_waveform_at_its_defining_phases) {
    struct Case {
        int type;
        double phase;
        double value;
    };
    const double r = std::sqrt(0.5);
    const Case cases[] = {
        {LfoOscillator::sine, 0.0, 0.0},
        {LfoOscillator::sine, 4.0, 1.0},
        {LfoOscillator::sine, 8.0, 0.0},
        {LfoOscillator::sine, 12.0, -1.0},
        {LfoOscillator::sine, 2.0, r},
        {LfoOscillator::triangle, 0.0, 1.0},
        {LfoOscillator::triangle, 4.0, 0.0},
        {LfoOscillator::triangle, 8.0, -1.0},
        {LfoOscillator::triangle, 12.0, 0.0},
        {LfoOscillator::square, 0.0, 1.0},
        {LfoOscillator::square, 7.99, 1.0},
        {LfoOscillator::square, 8.0, -1.0},
        {LfoOscillator::square, 15.5, -1.0},
        {LfoOscillator::ramp_up, 0.0, -1.0},
        {LfoOscillator::ramp_up, 8.0, 0.0},
        {LfoOscillator::ramp_up, 12.0, 0.5},
        {LfoOscillator::cos_up, 0.0, -1.0},
        {LfoOscillator::cos_up, 8.0, 0.0},
        {LfoOscillator::cos_up, 15.0, -std::cos(M_PI * 15 / 16)},
        {LfoOscillator::ramp_down, 0.0, 1.0},
        {LfoOscillator::ramp_down, 8.0, 0.0},
        {LfoOscillator::ramp_down, 12.0, -0.5},
        {LfoOscillator::cos_down, 0.0, 1.0},
        {LfoOscillator::cos_down, 8.0, 0.0},
        {LfoOscillator::cos_down, 4.0, std::cos(M_PI / 4)},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(at_phase(c.type, c.phase).value(), c.value, 1e-4)
            << "type " << c.type << " phase " << c.phase;
}

TEST(LfoOscillator, the_phase_wraps_at_16) {
    LfoOscillator osc = at_phase(LfoOscillator::ramp_up, 15.0);
    osc.advance(3);
    EXPECT_DOUBLE_EQ(osc.get_phase(), 2.0);
}

TEST(LfoOscillator, first_park_miller_value_from_state_1) {
    LfoOscillator osc;
    EXPECT_FLOAT_EQ(osc.next_random(), float((16807.0 - 1073741824.0) / 1073741824.0));
    // The second state is 16807^2 mod (2^31 - 1).
    const double second = double((16807LL * 16807LL) % 2147483647LL);
    EXPECT_FLOAT_EQ(osc.next_random(), float((second - 1073741824.0) / 1073741824.0));
}

TEST(LfoOscillator, random_values_stay_in_minus_one_to_one) {
    LfoOscillator osc;
    for (int i = 0; i < 100000; ++i) {
        const float v = osc.next_random();
        ASSERT_GE(v, -1.0f);
        ASSERT_LT(v, 1.0f);
    }
}

TEST(LfoOscillator, random_holds_its_value_until_the_phase_wraps) {
    LfoOscillator osc = at_phase(LfoOscillator::random, 0.0);
    EXPECT_EQ(osc.value(), 0.0);
    osc.advance(15);
    EXPECT_EQ(osc.value(), 0.0);
    osc.advance(1);
    LfoOscillator reference;
    const float first = reference.next_random();
    EXPECT_EQ(osc.value(), first);
    EXPECT_DOUBLE_EQ(osc.get_phase(), 0.0);
}

TEST(LfoOscillator, white_noise_draws_once_per_256_samples) {
    LfoOscillator osc;
    osc.set_type(LfoOscillator::white_noise);
    osc.reset();
    osc.advance(1000); // one draw only, even for a long block
    LfoOscillator reference;
    EXPECT_EQ(osc.value(), reference.next_random());
    EXPECT_EQ(osc.get_counter(), 1000 % 256);
    osc.advance(100);
    EXPECT_EQ(osc.value(), reference.next_random());
    EXPECT_LT(osc.get_counter(), 256);
}

TEST(LfoOscillator, brown_noise_coefficients) {
    LfoOscillator osc;
    osc.set_sample_rate(44100.0f);
    osc.set_period(2.0);
    osc.set_type(LfoOscillator::brown_noise);
    const double r = 44100.0 / 256.0;
    const double fc = 0.5;
    const double k = 1.0 / std::tan(M_PI * fc / r);
    EXPECT_FLOAT_EQ(osc.get_b0(), float(1.0 / (1.0 + k)));
    EXPECT_FLOAT_EQ(osc.get_b1(), float(1.0 / (1.0 + k)));
    EXPECT_FLOAT_EQ(osc.get_a1(), float((1.0 - k) / (1.0 + k)));
    EXPECT_FLOAT_EQ(osc.get_noise_gain(), float(std::sqrt(r / (2.0 * fc))));

    // A short period is limited to 0.4375 of the control rate.
    osc.set_period(0.0001);
    const double k2 = 1.0 / std::tan(M_PI * 0.4375);
    EXPECT_FLOAT_EQ(osc.get_a1(), float((1.0 - k2) / (1.0 + k2)));
    EXPECT_FLOAT_EQ(osc.get_noise_gain(), float(std::sqrt(1.0 / (2.0 * 0.4375))));
}

TEST(LfoOscillator, brown_noise_runs_one_filter_step_per_256_samples) {
    LfoOscillator osc;
    osc.set_period(1.0);
    osc.set_type(LfoOscillator::brown_noise);
    osc.reset();
    osc.advance(255);
    EXPECT_EQ(osc.value(), 0.0);
    osc.advance(1000); // 1255 samples: four steps, the last one held

    LfoOscillator reference;
    float x1 = 0.0f, y1 = 0.0f, y = 0.0f;
    for (int step = 0; step < 4; ++step) {
        const float x = reference.next_random();
        y = osc.get_b0() * x + osc.get_b1() * x1 - osc.get_a1() * y1;
        x1 = x;
        y1 = y;
    }
    EXPECT_FLOAT_EQ(float(osc.value()), y * osc.get_noise_gain());
    EXPECT_EQ(osc.get_counter(), 1255 - 4 * 256);
}

TEST(SineTable, matches_sin_over_a_dense_grid) {
    double max_error = 0.0;
    for (int i = 0; i <= 160000; ++i) {
        const double x = i * 1e-4;
        max_error =
            std::max(max_error, std::abs(mppi::SineTable::eval(x) - std::sin(M_PI * x / 8)));
    }
    // Measured: 6.1e-5, the cubic Hermite error between 16 knots.
    EXPECT_LT(max_error, 7e-5);
    EXPECT_GT(max_error, 1e-6); // an interpolation, not a library call
    RecordProperty("max_error", std::to_string(max_error));
}

TEST(SineTable, arguments_of_16_or_more_wrap) {
    EXPECT_NEAR(mppi::SineTable::eval(20.0), mppi::SineTable::eval(4.0), 1e-12);
    EXPECT_NEAR(mppi::SineTable::eval(16.0), 0.0, 1e-12);
}
