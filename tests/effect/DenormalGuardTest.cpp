// Within the guard, numbers below the smallest normal float are zero, as
// results and as operands; outside it, the caller's mode is back.
#include "effect/DenormalGuard.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Kept from the compiler's constant folding.
volatile float tiny = 1e-30f;
volatile float small = 1e-10f;
volatile float subnormal = 1e-40f;

} // namespace

TEST(DenormalGuard, flushes_subnormals_within_its_scope_only) {
#if !defined(__SSE__)
    GTEST_SKIP() << "no SSE control register here";
#else
    ASSERT_EQ(std::fpclassify(tiny * small), FP_SUBNORMAL);
    {
        const effect::DenormalGuard guard;
        EXPECT_EQ(tiny * small, 0.0f);                        // a result flushed
        EXPECT_EQ(subnormal * 1.0f, 0.0f);                    // an operand read as zero
        EXPECT_EQ(std::fpclassify(small * small), FP_NORMAL); // normal numbers untouched
    }
    EXPECT_EQ(std::fpclassify(tiny * small), FP_SUBNORMAL);
#endif
}
