#include "CallTimes.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

constexpr double step = 1.01;
constexpr double floor_seconds = 1e-9;

} // namespace

double CallTimes::thread_cpu_seconds() noexcept {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

void CallTimes::add(double seconds, long call, const char* what) {
    const double b = std::log(std::max(seconds, floor_seconds) / floor_seconds) / std::log(step);
    histogram_[std::size_t(std::clamp(int(b), 0, buckets - 1))] += 1;
    ++count_;
    if (slowest_.size() == kept && seconds <= slowest_.back().seconds) {
        return;
    }
    const auto at = std::find_if(slowest_.begin(), slowest_.end(),
                                 [seconds](const Slow& s) { return s.seconds < seconds; });
    slowest_.insert(at, Slow{seconds, call, what});
    if (slowest_.size() > kept) {
        slowest_.pop_back();
    }
}

// The middle of the bucket holding the p-th part of the calls.
double CallTimes::percentile(double p) const {
    const auto target = std::uint64_t(std::ceil(p * double(count_)));
    std::uint64_t seen = 0;
    for (int b = 0; b < buckets; ++b) {
        seen += histogram_[std::size_t(b)];
        if (seen >= target && seen > 0) {
            return floor_seconds * std::pow(step, double(b) + 0.5);
        }
    }
    return 0.0;
}

std::uint64_t CallTimes::above(double seconds) const {
    std::uint64_t n = 0;
    for (int b = buckets - 1; b >= 0 && floor_seconds * std::pow(step, double(b)) >= seconds; --b) {
        n += histogram_[std::size_t(b)];
    }
    return n;
}
