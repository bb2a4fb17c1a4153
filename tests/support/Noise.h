#pragma once

#include <cstdint>

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

private:
    std::uint32_t state_;
};

} // namespace test
