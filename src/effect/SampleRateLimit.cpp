#include "effect/SampleRateLimit.h"

#include "effect/DelayBufferSize.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace effect {

namespace {

// Per position: the taps' left and right, and one sample of each line.
constexpr std::uint64_t bytes_per_position = 4 * sizeof(float);
// Delays beyond this many samples are not counted: their memory is far
// above the limit already.
constexpr double countable_delay = double(1 << 29);

} // namespace

std::uint64_t SampleRateLimit::delay_memory(double rate) noexcept {
    if (!(rate > 0.0) || !std::isfinite(rate)) {
        return 0;
    }
    const float r = float(rate);
    if (!std::isfinite(r) || 4.0 * double(r) > countable_delay) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return std::uint64_t(delay_buffer_size(int(longest_delay(r)))) * bytes_per_position;
}

bool SampleRateLimit::serves(double rate) noexcept {
    const std::uint64_t bytes = delay_memory(rate);
    return bytes > 0 && bytes <= max_delay_memory;
}

// The memory grows with the rate, so the highest rate served is found by
// halving the interval of float values (whose bit patterns, for positive
// numbers, are in the order of their values).
double SampleRateLimit::max_rate() noexcept {
    auto value = [](std::uint32_t bits) {
        float f = 0.0f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    };
    auto bits_of = [](float f) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof f);
        return bits;
    };
    std::uint32_t served = bits_of(1.0f);
    std::uint32_t refused = bits_of(float(countable_delay));
    while (refused - served > 1) {
        const std::uint32_t mid = served + (refused - served) / 2;
        if (serves(double(value(mid)))) {
            served = mid;
        } else {
            refused = mid;
        }
    }
    return double(value(served));
}

std::string SampleRateLimit::refusal(double rate) {
    if (serves(rate)) {
        return "";
    }
    char text[200];
    if (!(rate > 0.0) || !std::isfinite(rate)) {
        std::snprintf(text, sizeof text,
                      "Quevrin cannot run at a sample rate of %g Hz: a rate is a finite number "
                      "above 0 Hz.",
                      rate);
    } else {
        std::snprintf(text, sizeof text,
                      "Quevrin cannot run at %.10g Hz: above %.10g Hz its delay lines would need "
                      "more than the %llu MiB of memory it allows.",
                      rate, max_rate(), static_cast<unsigned long long>(max_delay_memory >> 20));
    }
    return text;
}

} // namespace effect
