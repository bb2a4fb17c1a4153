#pragma once

#include <cstdint>

// Looks at every output sample: counts those that are not finite, those
// above a ceiling and the subnormal ones, and keeps the peak and where the
// first sample above the ceiling was.
class OutputMeter {
public:
    // `count` samples of one channel, produced at the call-th run() under `ceiling`.
    void scan(const float* samples, std::uint32_t count, double ceiling, long call) noexcept;

    long samples() const { return samples_; }
    long non_finite() const { return non_finite_; }
    long above_ceiling() const { return above_; }
    long subnormal() const { return subnormal_; }
    double peak() const { return peak_; }
    long peak_call() const { return peak_call_; }
    // The largest sample as a part of its ceiling.
    double peak_ratio() const { return peak_ratio_; }
    long first_above_call() const { return first_above_call_; }
    double first_above_value() const { return first_above_value_; }
    double first_above_ceiling() const { return first_above_ceiling_; }

private:
    long samples_ = 0;
    long non_finite_ = 0;
    long above_ = 0;
    long subnormal_ = 0;
    double peak_ = 0.0;
    long peak_call_ = -1;
    double peak_ratio_ = 0.0;
    long first_above_call_ = -1;
    double first_above_value_ = 0.0;
    double first_above_ceiling_ = 0.0;
};
