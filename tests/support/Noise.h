#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace test {

// Deterministic white noise for tests: a linear congruential generator whose
// draws are exact multiples of 2^-24 in [0, 1), the same in float and double.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}

    float next() {
        state_ = state_ * 1664525u + 1013904223u;
        return float(state_ >> 8) / float(1u << 24);
    }

    // The next draw spread over [-a, a).
    float next_signed(float a) { return a * (next() * 2.0f - 1.0f); }

private:
    std::uint32_t state_;
};

// n samples of noise in [-a, a): a block of one channel, or interleaved frames.
inline std::vector<float> noise_samples(std::size_t n, float a = 0.5f, std::uint32_t seed = 1) {
    std::vector<float> v(n);
    Noise draw(seed);
    for (float& s : v) {
        s = draw.next_signed(a);
    }
    return v;
}

} // namespace test
