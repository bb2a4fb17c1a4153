// The "Freeze" programs, recalled while audio plays, shut the input out and
// keep looping what their lines last held.
#include "BankTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

double rms(const std::vector<float>& x) {
    double e = 0.0;
    for (float v : x)
        e += double(v) * v;
    return std::sqrt(e / double(x.size()));
}

// Normalized correlation of x[n] with x[n - lag] over n in [from, x.size()).
double self_similarity(const std::vector<float>& x, std::size_t lag, std::size_t from) {
    double xy = 0.0, xx = 0.0, yy = 0.0;
    for (std::size_t n = from; n < x.size(); ++n) {
        xy += double(x[n]) * x[n - lag];
        xx += double(x[n]) * x[n];
        yy += double(x[n - lag]) * x[n - lag];
    }
    return xy / std::sqrt(xx * yy);
}

TEST(FreezePrograms, recalled_while_playing_they_loop_what_the_lines_hold) {
    struct Case {
        const char* name;
        double loop; // beats of D1's loop, when the loop repeats unchanged; else 0
    };
    constexpr Case cases[] = {{"Freeze - hold 1 beat", 1.0}, {"Freeze - stereo 2 beat pad", 0.0}};
    constexpr float rate = 44100.0f;
    const mppi::BankManager bank = banks::embedded_bank("static_presets");
    const mppi::ProgramSlot playing = banks::find_program(bank, "Simple delay - 3/4 beat");
    for (const Case& c : cases) {
        // The same history, then silence, or new noise from two control ticks
        // after the recall: what comes in before the next tick is still caught
        // by the loop, nothing after it may be.
        test::Stereo later = test::noise(std::size_t(4 * rate), 0.5f, 7);
        std::fill(later.left.begin(), later.left.begin() + 2 * effect::Algo::control_block, 0.0f);
        std::fill(later.right.begin(), later.right.begin() + 2 * effect::Algo::control_block, 0.0f);
        test::Stereo after[2];
        for (int run = 0; run < 2; ++run) {
            banks::ProgramEngine engine(playing, rate);
            engine.render(test::noise(std::size_t(2 * rate)), 256);
            engine.algo.load_prog(banks::find_program(bank, c.name));
            after[run] = engine.render(run == 0 ? test::silence(later.size()) : later, 256);
            if (c.loop > 0.0 && run == 0) {
                const std::size_t loop = engine.frames(c.loop, rate);
                EXPECT_GT(self_similarity(after[run].left, loop, 2 * loop), 0.999) << c.name;
            }
        }
        EXPECT_EQ(after[0].left, after[1].left) << c.name << ": the input must not get in";
        EXPECT_EQ(after[0].right, after[1].right) << c.name << ": the input must not get in";
        const std::vector<float> last_second(after[0].left.end() - long(rate), after[0].left.end());
        EXPECT_GT(rms(last_second), 0.05) << c.name << ": the loop must still sound";
    }
}

} // namespace
