#include "effect/stages/LevelDetector.h"

#include <cmath>

void LevelDetector::set_time(float seconds) noexcept {
    time_ = seconds;
    update_coefficients();
}

void LevelDetector::set_sample_rate(float rate) noexcept {
    sample_rate_ = rate;
    update_coefficients();
}

void LevelDetector::clear() noexcept {
    x1_ = y1_ = 0.0f;
}

float LevelDetector::run(const float* block, int count) noexcept {
    float x1 = x1_, y1 = y1_;
    for (int i = 0; i < count; ++i) {
        const float x = block[i] * block[i];
        y1 = b0_ * (x + x1) - a1_ * y1;
        x1 = x;
    }
    x1_ = x1;
    y1_ = y1;
    return std::sqrt(std::abs(y1));
}

void LevelDetector::update_coefficients() noexcept {
    const double pi = 3.14159265358979323846;
    const double k = 1.0 / std::tan(pi / (double(time_) * double(sample_rate_)));
    const double b0 = 1.0 / (1.0 + k);
    b0_ = float(b0);
    a1_ = float(b0 * (1.0 - k));
}
