#include "mppi/LfoOscillator.h"

#include "mppi/SineTable.h"

#include <algorithm>
#include <cmath>

namespace mppi {

void LfoOscillator::set_type(int type) noexcept {
    type_ = std::clamp(type, 0, nbr_types - 1);
    recompute();
}

void LfoOscillator::set_sample_rate(float rate) noexcept {
    sample_rate_ = rate;
    recompute();
}

void LfoOscillator::set_period(double seconds) noexcept {
    period_ = seconds;
    recompute();
}

void LfoOscillator::reset() noexcept {
    phase_ = 0.0;
    held_ = 0.0f;
    counter_ = 0;
    x1_ = 0.0f;
    y1_ = 0.0f;
    recompute();
}

void LfoOscillator::recompute() noexcept {
    increment_ = 16.0 / (double(sample_rate_) * period_);
    if (type_ != brown_noise)
        return;
    // First-order low-pass at the control rate, by the bilinear transform
    // prewarped at its cutoff; the gain keeps the noise's level independent of
    // the cutoff.
    control_rate_ = sample_rate_ / float(noise_block);
    cutoff_ = float(std::min(1.0 / period_, 0.4375 * control_rate_));
    const double k = 1.0 / std::tan(M_PI * cutoff_ / control_rate_);
    b0_ = b1_ = float(1.0 / (1.0 + k));
    a1_ = float((1.0 - k) / (1.0 + k));
    gain_ = float(std::sqrt(control_rate_ / (2.0 * cutoff_)));
}

float LfoOscillator::next_random() noexcept {
    state_ = static_cast<std::int32_t>(std::int64_t(state_) * 16807 % 2147483647);
    return float(double(state_ - (1 << 30)) * (1.0 / (1 << 30)));
}

float LfoOscillator::filter_step() noexcept {
    const float x = next_random();
    const float y = b0_ * x + b1_ * x1_ - a1_ * y1_;
    x1_ = x;
    y1_ = y;
    return y;
}

void LfoOscillator::advance(int n) noexcept {
    switch (type_) {
    case random:
        phase_ += n * increment_;
        if (phase_ >= 16.0) {
            phase_ = std::fmod(phase_, 16.0);
            held_ = next_random();
        }
        break;
    case white_noise:
        counter_ += n;
        if (counter_ >= noise_block) {
            counter_ %= noise_block;
            held_ = next_random();
        }
        break;
    case brown_noise:
        counter_ += n;
        if (counter_ < noise_block)
            break;
        while (counter_ >= 2 * noise_block) {
            counter_ -= noise_block;
            filter_step();
        }
        counter_ -= noise_block;
        held_ = filter_step() * gain_;
        break;
    default:
        phase_ = std::fmod(phase_ + n * increment_, 16.0);
        break;
    }
}

double LfoOscillator::value() const noexcept {
    const double p = phase_;
    switch (type_) {
    case sine:
        return SineTable::eval(p);
    case triangle:
        return std::abs(p / 4.0 - 2.0) - 1.0;
    case square:
        return p < 8.0 ? 1.0 : -1.0;
    case ramp_up:
        return p / 8.0 - 1.0;
    case cos_up:
        return SineTable::eval(p / 2.0 + 12.0);
    case ramp_down:
        return 1.0 - p / 8.0;
    case cos_down:
        return SineTable::eval(p / 2.0 + 4.0);
    default:
        return held_;
    }
}

} // namespace mppi
