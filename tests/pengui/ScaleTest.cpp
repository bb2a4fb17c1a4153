// The choice of a scale from what a desktop, a host or the user says. (The
// rounding rule is tested on the editor's layout, tests/editor.)
#include "pengui/Scale.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using pengui::Scale;

TEST(Scale, is_chosen_from_a_factor_a_resolution_a_text_or_the_environment) {
    const double factors[][2] = {{0.5, 1}, {1.49, 1}, {1.5, 1.5}, {1.99, 1.5},
                                 {2, 2},   {3, 2},    {-1, 1},    {std::nan(""), 1}};
    for (const auto& f : factors)
        EXPECT_EQ(Scale::at_most(f[0]).factor(), f[1]) << f[0];
    const double dpis[][2] = {{96, 1}, {143, 1}, {144, 1.5}, {191, 1.5}, {192, 2}, {288, 2}};
    for (const auto& d : dpis)
        EXPECT_EQ(Scale::for_dpi(d[0]).factor(), d[1]) << d[0] << " dpi";
    // Texts: the scale, or 0 when refused (the scale is then left alone).
    const std::pair<const char*, double> texts[] = {{"1", 1},   {"1.5", 1.5}, {"2.0", 2},
                                                    {"", 0},    {"1.25", 0},  {"3", 0},
                                                    {"two", 0}, {"1.5x", 0},  {"2 ", 0}};
    for (const auto& [text, expected] : texts) {
        Scale s = Scale::at_most(1.5);
        EXPECT_EQ(Scale::parse(text, s), expected != 0) << text;
        EXPECT_EQ(s.factor(), expected != 0 ? expected : 1.5) << text;
    }
    // QUEVRIN_SCALE: a number, the largest scale below it; anything else is unset.
    const char* env[][2] = {
        {nullptr, "0"}, {"2", "2"}, {"1.75", "1.5"}, {"0.5", "1"}, {"big", "0"}};
    for (const auto& e : env) {
        test::ScopedEnv scoped("QUEVRIN_SCALE",
                               e[0] ? std::optional<std::string>(e[0]) : std::nullopt);
        Scale s;
        const bool set = pengui::scale_from_environment(s);
        EXPECT_EQ(set ? s.factor() : 0.0, std::strtod(e[1], nullptr)) << (e[0] ? e[0] : "unset");
    }
}
