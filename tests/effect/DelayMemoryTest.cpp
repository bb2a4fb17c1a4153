// Delay memory cleared by bookkeeping: what was written before a clear never
// comes back, in the memory itself and through every read of the engine.
#include "effect/DelayMemory.h"

#include "support/EngineHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

TEST(DelayMemory, a_cleared_stretch_reads_zero_once_announced_and_new_writes_stay) {
    effect::DelayMemory<float> memory;
    ASSERT_TRUE(memory.allocate(1 << 16));
    const int n = memory.size();
    const int chunk = effect::DelayMemory<float>::chunk_length;
    for (int i = 0; i < n; ++i) // everything dirty
        memory.will_write(i, 1);
    std::fill(memory.data(), memory.data() + n, 1.0f);
    memory.clear();
    // Stretches across chunk borders and around the end of the buffer.
    memory.will_write(n - 10, 20);
    for (int i = n - 10; i < n + 10; ++i)
        memory.data()[i & (n - 1)] = 2.0f;
    memory.will_read(3 * chunk - 5, 10);
    memory.will_read(7 * chunk, chunk);
    for (int i = 0; i < n; ++i) {
        const bool written = i >= n - 10 || i < 10;
        const bool announced =
            (i >= 2 * chunk && i < 4 * chunk) || (i >= 7 * chunk && i < 8 * chunk);
        const float expected = written                                    ? 2.0f
                               : announced || i < chunk || i >= n - chunk ? 0.0f
                                                                          : 1.0f;
        ASSERT_EQ(memory[i], expected) << i;
    }
    // A second clear right away leaves nothing of the new writes.
    memory.clear();
    memory.will_read(0, 10);
    EXPECT_EQ(memory[5], 0.0f);
}

namespace {

// A program, then a change applied after `at` blocks of 256 frames.
struct Scenario {
    const char* what;
    float rate;
    std::function<void(test::Engine&)> program, change;
    int at;
};

test::Stereo play(test::Engine& e, const Scenario& s, const test::Stereo& input) {
    s.program(e);
    test::Stereo out =
        e.render(test::Stereo{{input.left.begin(), input.left.begin() + 256 * s.at},
                              {input.right.begin(), input.right.begin() + 256 * s.at}},
                 256);
    s.change(e);
    const test::Stereo rest =
        e.render(test::Stereo{{input.left.begin() + 256 * s.at, input.left.end()},
                              {input.right.begin() + 256 * s.at, input.right.end()}},
                 256);
    out.left.insert(out.left.end(), rest.left.begin(), rest.left.end());
    out.right.insert(out.right.end(), rest.right.begin(), rest.right.end());
    return out;
}

} // namespace

// After seconds of loud signal in every buffer, a reset engine answers as one
// that played silence: long jumps, glides and tap crossfades read silence
// where the signal was.
TEST(DelayMemory, after_a_reset_nothing_of_what_was_played_comes_back) {
    const auto two_lines_four_taps = [](test::Engine& e) {
        e.set("Flags", 64 + 32);
        for (int t = 1; t <= 4; ++t) {
            e.set("Tap " + std::to_string(t) + " level", 0.5);
            e.set("Tap " + std::to_string(t) + " time", 0.3 * t);
        }
        e.set("D1 fdbk", 0.7);
    };
    const Scenario scenarios[] = {
        {"line jumps to 4 beats", 44100.0f, two_lines_four_taps,
         [](test::Engine& e) { e.set("D1 time", 4.0); }, 3},
        {"line glides", 96000.0f, two_lines_four_taps,
         [](test::Engine& e) { e.set("D2 time", 0.76); }, 40},
        {"taps jump and glide", 48000.0f, two_lines_four_taps,
         [](test::Engine& e) {
             e.set("Tap 1 time", 3.9);
             e.set("Tap 2 time", 0.61);
         },
         2},
        {"every delay modulated", 44100.0f,
         [&](test::Engine& e) {
             two_lines_four_taps(e);
             for (const char* p : {"D1 time", "D2 time", "Tap 3 time", "Tap 4 time"})
                 e.set(std::string(p) + " LFO depth", 0.9);
         },
         [](test::Engine& e) { e.set("Tempo", 60.0); }, 10},
    };
    for (const Scenario& s : scenarios) {
        const test::Stereo input = test::noise(std::size_t(3 * s.rate), 0.5f, 7);
        // Both engines run the same seconds, one in silence, then reset.
        test::Engine quiet(s.rate);
        test::Engine used(s.rate);
        for (test::Engine* e : {&quiet, &used}) {
            e->set("Flags", 64 + 32);
            e->render(test::noise(std::size_t(6 * s.rate), e == &used ? 0.9f : 0.0f, 3), 256);
            e->algo.reset();
        }
        const test::Stereo expected = play(quiet, s, input);
        const test::Stereo got = play(used, s, input);
        EXPECT_TRUE(got.left == expected.left && got.right == expected.right) << s.what;
    }
}
