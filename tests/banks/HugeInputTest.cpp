// Finite input of any size never makes a program's output non-finite, and the
// lines play on after it: bursts up to the largest float through every
// static preset.
#include "BankTestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double rms(const std::vector<float>& x, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(x[i]) * x[i];
    return std::sqrt(sum / double(to - from));
}

// The input: a 220 Hz sine at -12 dBFS, its cosine on the right; with a burst
// of `burst_frames` samples of alternating sign at `level` on both channels
// (none at level 0) starting at `burst_at`.
test::Stereo sine_with_burst(std::size_t frames, std::size_t burst_at, std::size_t burst_frames,
                             float level, float rate) {
    test::Stereo s = test::silence(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double phase = 2.0 * M_PI * 220.0 * double(i) / rate;
        s.left[i] = float(0.25 * std::sin(phase));
        s.right[i] = float(0.25 * std::cos(phase));
        if (level != 0.0f && i >= burst_at && i < burst_at + burst_frames)
            s.left[i] = s.right[i] = (i % 2 == 0 ? level : -level);
    }
    return s;
}

TEST(HugeInput, every_program_stays_finite_and_plays_on_after_bursts_up_to_the_largest_float) {
    constexpr float rate = 44100.0f;
    const std::size_t burst_at = 22100; // inside a control tick
    const std::size_t burst_frames = 300;
    const std::size_t burst_end = burst_at + burst_frames;
    const std::size_t frames = burst_end + std::size_t(5 * rate);
    // The last half second: 4.5 s after the burst, past any tap's echo of it.
    const std::size_t last = frames - std::size_t(rate / 2);
    const mppi::BankManager bank = banks::embedded_bank("static_presets");
    for (int p = 0; p < bank.get_nbr_progs(); ++p) {
        const mppi::ProgramSlot& program = bank.use_prog(p);
        banks::ProgramEngine reference_engine(program, rate);
        const test::Stereo reference =
            reference_engine.render(sine_with_burst(frames, burst_at, 0, 0.0f, rate), 256);
        for (const float level : {FLT_MAX, 1e30f, 1.0f}) {
            banks::ProgramEngine engine(program, rate);
            const test::Stereo out =
                engine.render(sine_with_burst(frames, burst_at, burst_frames, level, rate), 256);
            const std::string what =
                program.get_prog_name() + ", burst at " + std::to_string(level);
            for (const auto& [channel, ref] :
                 {std::pair{&out.left, &reference.left}, std::pair{&out.right, &reference.right}}) {
                std::size_t non_finite = 0;
                for (const float v : *channel)
                    non_finite += !std::isfinite(v);
                EXPECT_EQ(non_finite, 0u) << what;
                // The lines recover and go on playing the sine at least near
                // the level they have without the burst (on top, long taps,
                // feedback and loops may still carry the burst's own echoes).
                const double after = rms(*channel, last, frames);
                const double expected = rms(*ref, last, frames);
                std::printf("[ measured ] %2d %-36s %-8g rms %.4f (without the burst %.4f)\n", p,
                            program.get_prog_name().c_str(), double(level), after, expected);
                EXPECT_GE(after, 0.5 * expected - 1e-3) << what;
            }
        }
    }
}

} // namespace
