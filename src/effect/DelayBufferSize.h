#pragma once

#include <algorithm>
#include <cmath>

namespace effect {

// The length of a circular delay buffer: the smallest power of two above the
// longest delay plus one block, and never below a second at 44.1 kHz, so that
// every position is masked.
inline int delay_buffer_size(int max_delay) {
    const int need = std::max(max_delay + 255, 44099);
    int n = 1;
    while (n <= need)
        n <<= 1;
    return n;
}

// The longest delay at a sample rate, in samples: 4 s (4 beats at 60 BPM),
// halves rounded away from zero.
inline long longest_delay(float rate) {
    return std::lround(4.0 * double(rate));
}

} // namespace effect
