// The sample rates the engine serves: every positive finite rate up to where
// its delay memory would pass the limit, and none beyond; the engine keeps
// its rate when handed one it does not serve.
#include "effect/SampleRateLimit.h"
#include "support/EngineHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace effect;

TEST(SampleRateLimit, serves_every_finite_rate_up_to_its_memory_limit) {
    const double top = SampleRateLimit::max_rate();
    struct Case {
        double rate;
        bool served;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {{1.0, true},
                          {44100.5, true},
                          {768000.0, true},
                          {top, true},
                          {double(std::nextafter(float(top), 1e30f)), false},
                          {1e9, false},
                          {1e12, false},
                          {inf, false},
                          {std::numeric_limits<double>::quiet_NaN(), false},
                          {0.0, false},
                          {-44100.0, false},
                          {-inf, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        EXPECT_EQ(SampleRateLimit::serves(c.rate), c.served);
        EXPECT_EQ(SampleRateLimit::refusal(c.rate).empty(), c.served);
        if (c.served) {
            EXPECT_LE(SampleRateLimit::delay_memory(c.rate), SampleRateLimit::max_delay_memory);
        }
    }
    // The memory at the top rate is the largest a rate may take.
    EXPECT_GT(SampleRateLimit::delay_memory(top), SampleRateLimit::max_delay_memory / 2);
}

TEST(SampleRateLimit, the_engine_keeps_its_rate_when_handed_one_it_does_not_serve) {
    test::Engine engine(48000.0f);
    const int size = engine.algo.line(0).buffer_size();
    for (const float rate : {0.0f, -1.0f, 1e12f, std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::quiet_NaN()}) {
        engine.algo.set_sample_rate(rate);
        EXPECT_EQ(engine.algo.line(0).buffer_size(), size) << rate;
    }
    const test::Stereo out = engine.render(test::noise(4096), 256);
    for (std::size_t i = 0; i < out.size(); ++i)
        ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i])) << i;
}
