#pragma once

#include <cstdint>
#include <string>

namespace effect {

// The sample rates the engine runs at: every positive, finite rate whose
// delay memory (the taps' stereo buffer and both lines' buffers, each
// holding the longest delay at that rate) stays within max_delay_memory.
// Hosts ask before they hand the engine a rate, and refuse the others.
class SampleRateLimit {
public:
    // 128 MiB serves rates up to about 2.1 MHz, far above any audio interface
    // (768 kHz takes 64 MiB), while a mistaken rate of a gigahertz cannot
    // make an instance take gigabytes and seconds of clearing.
    static constexpr std::uint64_t max_delay_memory = std::uint64_t(128) << 20;

    // [any thread] The bytes of delay memory at rate (as the engine takes
    // it, a float); 0 for a rate that is not a positive finite number, and
    // the largest count for one beyond counting.
    static std::uint64_t delay_memory(double rate) noexcept;
    // [any thread] Whether the engine runs at rate.
    static bool serves(double rate) noexcept;
    // [any thread] The highest rate served.
    static double max_rate() noexcept;
    // [any thread] Why rate is refused, in one sentence; empty when it is
    // served. Allocates.
    static std::string refusal(double rate);
};

} // namespace effect
