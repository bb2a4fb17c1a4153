// The distortion's two cubic tables follow tanh and sin closely, hold their
// ends, repeat the folder every 16 units, and never spike at the wrap.

#include "effect/stages/DistortionCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iostream>
#include <iterator>
#include <limits>
#include <vector>

namespace {

const effect::DistortionCurves& curves() {
    return effect::DistortionCurves::instance();
}

double fold_reference(double u) {
    return std::sin(u * M_PI / 8.0);
}

} // namespace

TEST(DistortionCurves, overdrive_follows_tanh_over_a_dense_grid) {
    double worst = 0.0, worst_at = 0.0;
    for (int i = -120000; i <= 120000; ++i) {
        const float x = float(i) * 1e-4f;
        const double err = std::abs(double(curves().overdrive(x)) - std::tanh(double(x)));
        if (err > worst) {
            worst = err;
            worst_at = x;
        }
    }
    std::cout << "overdrive table: max |error| against tanh " << worst << " at " << worst_at
              << '\n';
    // Unit-spaced cubics bend less than tanh just off 0: about 0.009 there.
    EXPECT_LT(worst, 0.01);
}

TEST(DistortionCurves, overdrive_holds_its_ends_outside_plus_minus_8) {
    const float low = float(std::tanh(-8.0)), high = float(std::tanh(8.0));
    for (float x : {-8.0001f, -9.0f, -1e6f, -std::numeric_limits<float>::max()})
        EXPECT_EQ(curves().overdrive(x), low) << x;
    for (float x : {8.0f, 8.5f, 1e6f, std::numeric_limits<float>::max()})
        EXPECT_EQ(curves().overdrive(x), high) << x;
    // Odd within the table, as tanh is, up to float rounding of the cubics.
    for (float x : {0.1f, 0.7f, 2.5f, 7.9f})
        EXPECT_NEAR(curves().overdrive(-x), -curves().overdrive(x), 2e-5f) << x;
}

TEST(DistortionCurves, puncher_follows_one_sine_period_every_16_units) {
    double worst = 0.0, worst_at = 0.0;
    for (int i = -480000; i <= 480000; ++i) {
        const float u = float(i) * 1e-4f;
        const double err = std::abs(double(curves().puncher(u)) - fold_reference(double(u)));
        if (err > worst) {
            worst = err;
            worst_at = u;
        }
    }
    std::cout << "puncher table: max |error| against sin " << worst << " at " << worst_at << '\n';
    EXPECT_LT(worst, 2e-4);
}

TEST(DistortionCurves, puncher_just_below_a_period_start_gives_no_spike) {
    // In float32 these coordinates reduce to exactly 16, where segment 0's
    // cubic would give about -34.
    const float tiny[] = {-std::numeric_limits<float>::denorm_min(), -1e-30f, -1e-9f, -1e-7f,
                          -4e-7f};
    for (float u : tiny) {
        for (float period : {0.0f, 16.0f, 32.0f, -16.0f}) {
            const float v = curves().puncher(period + u);
            EXPECT_GE(v, -5e-5f) << period << " + " << u;
            EXPECT_LE(v, 5e-5f) << period << " + " << u;
        }
    }
    EXPECT_NEAR(curves().puncher(std::nextafter(16.0f, 0.0f)), 0.0f, 5e-5f);
}

// The block forms (four samples at a time on processors with vector
// registers) give exactly the one-sample forms, edges and odd values included.
namespace {

#if defined(QUEVRIN_HAS_AVX2)
// overdrive8 and puncher8 over every whole group of eight of x.
QUEVRIN_AVX2 void eight_lanes(const std::vector<float>& x, float scale, std::vector<float>& od,
                              std::vector<float>& pu) {
    const __m256 k = _mm256_set1_ps(scale);
    for (std::size_t i = 0; i + 8 <= x.size(); i += 8) {
        const __m256 v = _mm256_loadu_ps(x.data() + i);
        _mm256_storeu_ps(od.data() + i, curves().overdrive8(v, k));
        _mm256_storeu_ps(pu.data() + i, curves().puncher8(v, k));
    }
}
#endif

} // namespace

TEST(DistortionCurves, block_forms_equal_the_sample_forms_bit_for_bit) {
    std::vector<float> x;
    for (int i = -40000; i <= 40000; ++i)
        x.push_back(float(i) * 3.3e-4f);
    const float specials[] = {0.0f,
                              -0.0f,
                              -1e-30f,
                              1e-30f,
                              -std::numeric_limits<float>::denorm_min(),
                              8.0f,
                              -8.0f,
                              16.0f,
                              -16.0f,
                              1e9f,
                              -1e9f,
                              3e38f,
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN()};
    x.insert(x.end(), std::begin(specials), std::end(specials));
    x.push_back(0.25f); // an odd count leaves a tail for the one-sample path
    for (float scale : {0.25f, 1.0f, 2.7f, 64.0f, 1.0e7f}) {
        std::vector<float> od(x.size()), pu(x.size());
        curves().overdrive_block(x.data(), scale, od.data(), int(x.size()));
        curves().puncher_block(x.data(), scale, pu.data(), int(x.size()));
        const std::vector<float> od4 = od, pu4 = pu;
#if defined(QUEVRIN_HAS_AVX2)
        // The eight-lane forms, where the processor runs them, in their place.
        if (effect::avx2::available())
            eight_lanes(x, scale, od, pu);
#endif
        ASSERT_EQ(std::memcmp(od.data(), od4.data(), od.size() * sizeof(float)), 0) << scale;
        ASSERT_EQ(std::memcmp(pu.data(), pu4.data(), pu.size() * sizeof(float)), 0) << scale;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const float o = curves().overdrive(scale * x[i]);
            const float p = curves().puncher(scale * x[i]);
            ASSERT_EQ(std::memcmp(&od[i], &o, sizeof o), 0) << x[i] << " x " << scale;
            ASSERT_EQ(std::memcmp(&pu[i], &p, sizeof p), 0) << x[i] << " x " << scale;
        }
    }
}
