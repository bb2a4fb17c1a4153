#include "OutputMeter.h"

#include <cmath>

void OutputMeter::scan(const float* samples, std::uint32_t count, double ceiling,
                       long call) noexcept {
    samples_ += long(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const float x = samples[i];
        switch (std::fpclassify(x)) {
        case FP_NAN:
        case FP_INFINITE:
            ++non_finite_;
            continue;
        case FP_SUBNORMAL:
            ++subnormal_;
            break;
        default:
            break;
        }
        const double a = std::abs(double(x));
        if (a > peak_) {
            peak_ = a;
            peak_call_ = call;
        }
        if (a / ceiling > peak_ratio_) {
            peak_ratio_ = a / ceiling;
        }
        if (a > ceiling) {
            if (above_ == 0) {
                first_above_call_ = call;
                first_above_value_ = double(x);
                first_above_ceiling_ = ceiling;
            }
            ++above_;
        }
    }
}
