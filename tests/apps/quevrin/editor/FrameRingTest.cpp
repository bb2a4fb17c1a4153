// The live player's ring: frames come out in the order they went in across
// the wrap, a full ring refuses what does not fit, an empty one gives nothing.
#include "FrameRing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Step {
    std::size_t write; // frames offered
    std::size_t wrote; // frames the ring takes
    std::size_t read;  // frames asked for
    std::size_t got;   // frames it gives
};

TEST(FrameRingTest, keeps_the_order_of_the_frames_across_the_wrap_and_refuses_an_overflow) {
    // A ring asked for 6 frames holds 8.
    FrameRing ring(6);
    ASSERT_EQ(ring.capacity(), 8u);
    const Step steps[] = {
        {5, 5, 3, 3}, // 2 left
        {7, 6, 0, 0}, // full: 2 + 6, one frame refused
        {1, 0, 8, 8}, // nothing fits; all of it comes out, across the wrap
        {0, 0, 4, 0}, // empty
        {8, 8, 8, 8}, // a whole ring at an offset
    };
    float next_in = 0;
    float next_out = 0;
    for (const Step& s : steps) {
        std::vector<float> in;
        for (std::size_t i = 0; i < s.write; ++i) {
            in.push_back(next_in + float(i));
            in.push_back(-(next_in + float(i)));
        }
        ASSERT_EQ(ring.write(in.data(), s.write), s.wrote);
        next_in += float(s.wrote);
        std::vector<float> out(s.read * FrameRing::channels, 99.0f);
        ASSERT_EQ(ring.read(out.data(), s.read), s.got);
        for (std::size_t i = 0; i < s.got; ++i, ++next_out) {
            EXPECT_EQ(out[2 * i], next_out);
            EXPECT_EQ(out[2 * i + 1], -next_out);
        }
        EXPECT_EQ(ring.available(), std::size_t(next_in - next_out));
    }
}

TEST(FrameRingTest, a_resized_ring_holds_exactly_the_frames_asked_and_starts_empty) {
    FrameRing ring(8);
    std::vector<float> in(2 * 16);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = float(i);
    ASSERT_EQ(ring.write(in.data(), 3), 3u);
    ring.resize(5); // 25 ms at 200 Hz, say: no power of two
    EXPECT_EQ(ring.available(), 0u);
    EXPECT_EQ(ring.capacity(), 5u);
    std::vector<float> out(2 * 16);
    // Through the wrap of its storage, never more than 5 frames in it.
    const Step steps[] = {{7, 5, 4, 4}, {7, 4, 6, 5}, {2, 2, 2, 2}};
    std::size_t next_in = 0;
    std::size_t next_out = 0;
    for (const Step& s : steps) {
        ASSERT_EQ(ring.write(in.data() + 2 * next_in, s.write), s.wrote);
        next_in += s.wrote;
        ASSERT_EQ(ring.read(out.data(), s.read), s.got);
        for (std::size_t i = 0; i < 2 * s.got; ++i)
            EXPECT_EQ(out[i], float(2 * next_out + i));
        next_out += s.got;
    }
}

} // namespace
