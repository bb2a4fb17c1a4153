// The clock counts whole milliseconds, never goes back and follows real time.
#include "sys/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace {

TEST(Clock, never_goes_back_and_moves_in_whole_milliseconds) {
    double previous = sys::now();
    int steps = 0;
    const double start = previous;
    while (sys::now() - start < 0.02) {
        const double t = sys::now();
        ASSERT_GE(t, previous);
        const double milliseconds = t * 1000.0;
        ASSERT_NEAR(milliseconds, std::round(milliseconds), 1e-6);
        if (t > previous) {
            ++steps;
            ASSERT_GE(t - previous, 0.001 - 1e-9);
        }
        previous = t;
    }
    // Even on a busy machine 20 ms of polling sees the tick move.
    EXPECT_GE(steps, 2);
}

TEST(Clock, follows_a_sleep) {
    const double before = sys::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const double elapsed = sys::now() - before;
    EXPECT_GE(elapsed, 0.049);
    EXPECT_LT(elapsed, 1.0);
}

} // namespace
