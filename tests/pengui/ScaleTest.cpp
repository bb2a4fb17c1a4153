// The scale's rule from logical to device pixels, and the choice of a scale
// from what a desktop, a host or the user says.
#include "pengui/Scale.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using pengui::Rect;
using pengui::Scale;

TEST(Scale, boxes_that_share_an_edge_share_it_in_device_pixels_and_keep_their_size) {
    // Odd widths from an odd, negative start: every side lands on a half
    // pixel somewhere at 1.5.
    const std::vector<int> widths = {13, 3, 27, 1, 58, 95, 95, 17, 2, 243};
    for (const Scale& scale : Scale::all) {
        SCOPED_TRACE(scale.factor());
        int x = -21;
        Rect previous{};
        for (std::size_t i = 0; i < widths.size(); ++i) {
            const Rect r = scale.device(Rect{x, -7, x + widths[i], 9});
            if (i > 0) {
                EXPECT_EQ(r.x0, previous.x1) << "a gap or an overlap after box " << i - 1;
            }
            // Never more than a pixel from the scaled size.
            EXPECT_LE(std::abs((r.x1 - r.x0) - widths[i] * scale.factor()), 0.5) << i;
            EXPECT_LE(std::abs((r.y1 - r.y0) - 16 * scale.factor()), 0.5);
            previous = r;
            x += widths[i];
        }
    }
    // Halves go up on both sides of zero, so a move by whole logical pixels
    // moves a box without changing its size.
    const Scale half = Scale::at_most(1.5);
    EXPECT_EQ(half.device(13) - half.device(-13), half.device(26));
    EXPECT_EQ(half.device(std::numeric_limits<std::int32_t>::max()),
              std::numeric_limits<std::int32_t>::max());
}

TEST(Scale, is_chosen_from_a_factor_a_resolution_a_text_or_the_environment) {
    struct Case {
        double factor;
        double expected;
    };
    const Case factors[] = {{0.5, 1}, {1.0, 1}, {1.49, 1}, {1.5, 1.5},       {1.99, 1.5},
                            {2.0, 2}, {3.0, 2}, {-1.0, 1}, {std::nan(""), 1}};
    for (const Case& c : factors) {
        EXPECT_EQ(Scale::at_most(c.factor).factor(), c.expected) << c.factor;
    }
    const Case dpis[] = {{96, 1}, {120, 1}, {143, 1}, {144, 1.5}, {191, 1.5}, {192, 2}, {288, 2}};
    for (const Case& c : dpis) {
        EXPECT_EQ(Scale::for_dpi(c.factor).factor(), c.expected) << c.factor << " dpi";
    }
    for (const char* text : {"1", "1.5", "2", "2.0"}) {
        Scale s = Scale::at_most(2);
        EXPECT_TRUE(Scale::parse(text, s)) << text;
        EXPECT_EQ(s.factor(), std::strtod(text, nullptr)) << text;
    }
    for (const char* text : {"", "1.25", "3", "0", "two", "1.5x", "2 "}) {
        Scale s = Scale::at_most(1.5);
        EXPECT_FALSE(Scale::parse(text, s)) << text;
        EXPECT_EQ(s.factor(), 1.5) << "a refused text leaves the scale alone";
    }
    struct Env {
        const char* value; // null: unset
        bool set;
        double expected;
    };
    for (const Env& e : {Env{nullptr, false, 1}, Env{"", false, 1}, Env{"2", true, 2},
                         Env{"1.75", true, 1.5}, Env{"0.5", true, 1}, Env{"big", false, 1}}) {
        test::ScopedEnv env("QUEVRIN_SCALE",
                            e.value ? std::optional<std::string>(e.value) : std::nullopt);
        Scale s;
        EXPECT_EQ(pengui::scale_from_environment(s), e.set) << (e.value ? e.value : "unset");
        EXPECT_EQ(s.factor(), e.expected) << (e.value ? e.value : "unset");
    }
}
