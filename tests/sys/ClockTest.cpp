// The clock counts whole milliseconds, never goes back and follows real time.
#include "sys/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace {

TEST(Clock, never_goes_back_and_moves_in_whole_milliseconds) {
    const double start = sys::now();
    double previous = start;
    int steps = 0;
    while (previous - start < 0.02) {
        const double t = sys::now();
        ASSERT_GE(t, previous);
        ASSERT_NEAR(t * 1000.0, std::round(t * 1000.0), 1e-6);
        steps += t > previous;
        previous = t;
    }
    EXPECT_GE(steps, 2); // even a busy machine sees the tick move in 20 ms

    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const double slept = sys::now() - previous;
    EXPECT_GE(slept, 0.049);
    EXPECT_LT(slept, 1.0);
}

} // namespace
