// The "Ping-pong" programs throw each repeat to the side opposite the one
// before, while the dry stays in the middle.
#include "BankTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

TEST(PingPongPrograms, echoes_alternate_sides_around_a_centred_dry) {
    struct Case {
        const char* name;
        double echo; // beats between repeats
    };
    constexpr Case cases[] = {{"Ping-pong delay - 3/4 beat", 0.75},
                              {"Ping-pong delay - 1/4 beat", 0.25}};
    constexpr float rate = 44100.0f;
    constexpr int echoes = 6;
    const mppi::BankManager bank = banks::embedded_bank("static_presets");
    for (const Case& c : cases) {
        banks::ProgramEngine engine(banks::find_program(bank, c.name), rate);
        const std::size_t echo = engine.frames(c.echo, rate);
        // A click half-way between two turns of the pan.
        const std::size_t click = echo / 2;
        test::Stereo input = test::silence(click + echo * (echoes + 1));
        input.left[click] = input.right[click] = 1.0f;
        const test::Stereo out = engine.render(input, 256);

        EXPECT_GT(out.left[click], 0.5f) << c.name;
        EXPECT_EQ(out.left[click], out.right[click]) << c.name << ": the dry is centred";
        double worst_ratio = 1e30;
        for (int k = 1; k <= echoes; ++k) {
            double left = 0.0, right = 0.0;
            for (std::size_t i = click + k * echo - echo / 4; i < click + k * echo + echo / 4;
                 ++i) {
                left += double(out.left[i]) * out.left[i];
                right += double(out.right[i]) * out.right[i];
            }
            // The first repeat goes left, then right, and so on.
            const bool left_turn = k % 2 == 1;
            const double loud = left_turn ? left : right;
            const double quiet = left_turn ? right : left;
            EXPECT_GT(loud, 1e-6) << c.name << " echo " << k;
            EXPECT_GT(loud, 1000.0 * quiet) << c.name << " echo " << k;
            worst_ratio = std::min(worst_ratio, loud / std::max(quiet, 1e-30));
        }
        std::printf("[ measured ] %s: worst loud/quiet energy ratio %.3g over %d echoes\n", c.name,
                    worst_ratio, echoes);
    }
}

} // namespace
