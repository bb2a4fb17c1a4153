// With every parameter at its default the effect is one line: the input,
// then echoes every 0.75 beat at 120 BPM halving each time.
#include "support/EngineHarness.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(AlgoDefaults, impulse_gives_halving_echoes_every_three_quarter_beat) {
    struct Rate {
        float rate;
        int period;
    };
    // 0.375 s, halves rounded upward.
    const Rate rates[] = {{44100.0f, 16538}, {48000.0f, 18000}, {96000.0f, 36000}};
    for (const Rate& r : rates) {
        test::Engine e(r.rate);
        const int echoes = 6;
        const test::Stereo out = e.render(test::impulse(std::size_t(r.period * echoes + 10)), 512);
        for (std::size_t i = 0; i < out.size(); ++i) {
            float expected = 0.0f;
            if (i % std::size_t(r.period) == 0)
                expected = std::ldexp(1.0f, -int(i / std::size_t(r.period)));
            ASSERT_EQ(out.left[i], expected) << r.rate << " Hz, sample " << i;
            ASSERT_EQ(out.right[i], expected) << r.rate << " Hz, sample " << i;
        }
    }
}
