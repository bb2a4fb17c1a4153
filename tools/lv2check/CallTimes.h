#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The CPU time of the calls measured, kept as a histogram with steps of
// about 1 %: the median and the 99th percentile come from it, the maximum is
// exact. The slowest calls are kept with what the caller said about them.
class CallTimes {
public:
    struct Slow {
        double seconds;
        long call;
        std::string what;
    };

    // The calling thread's CPU time, in seconds.
    static double thread_cpu_seconds() noexcept;

    // One call of `seconds`, the call-th; `what` describes it (kept only
    // for the slowest).
    void add(double seconds, long call, const char* what);

    long count() const { return count_; }
    double percentile(double p) const;
    // The calls that took longer than `seconds` (to the histogram's 1 %).
    std::uint64_t above(double seconds) const;
    double max() const { return slowest_.empty() ? 0.0 : slowest_.front().seconds; }
    // The slowest calls, slowest first.
    const std::vector<Slow>& slowest() const { return slowest_; }

private:
    static constexpr int buckets = 2400; // 1 ns to 10 s in steps of 1 %
    static constexpr std::size_t kept = 8;

    std::vector<std::uint64_t> histogram_ = std::vector<std::uint64_t>(buckets, 0);
    std::vector<Slow> slowest_;
    long count_ = 0;
};
