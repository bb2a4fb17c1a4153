#include "effect/stages/LevelDetector.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace effect {

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

void LevelDetector::take_state(const LevelDetector& other) noexcept {
    x1_ = other.x1_;
    y1_ = other.y1_;
}

float LevelDetector::run(const float* block, int count) noexcept {
    for (int done = 0; done < count; done += max_block)
        follow(block + done, std::min(max_block, count - done));
    return std::sqrt(std::abs(y1_));
}

// The recursion y = b0·(x + x1) - a1·y1 is linear, and only its value at the
// end of the block is read: that value is the weighted sum
// (-a1)^n·y0 + b0·sum((x_i + x_(i-1))·(-a1)^(n-1-i)), taken here in four
// independent lanes instead of waiting on every previous output.
void LevelDetector::follow(const float* block, int count) noexcept {
    const float* w = decay_ + (count - 1); // w[-i] = (-a1)^(n-1-i)
    alignas(16) float lane[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float previous = x1_;
    int i = 0;
#if defined(__SSE2__)
    // Lane j takes the samples i + j, as in the scalar form.
    __m128 sum = _mm_setzero_ps();
    __m128 last = _mm_set1_ps(previous); // lane 3: the sample before the group
    for (; i + 4 <= count; i += 4) {
        const __m128 b = _mm_loadu_ps(block + i);
        const __m128 x = _mm_mul_ps(b, b);
        const __m128 edge = _mm_shuffle_ps(last, x, _MM_SHUFFLE(0, 0, 3, 3));
        const __m128 before = _mm_shuffle_ps(edge, x, _MM_SHUFFLE(2, 1, 2, 0));
        const __m128 back = _mm_loadu_ps(w - (i + 3));
        const __m128 weight = _mm_shuffle_ps(back, back, _MM_SHUFFLE(0, 1, 2, 3));
        sum = _mm_add_ps(sum, _mm_mul_ps(_mm_add_ps(x, before), weight));
        last = x;
    }
    _mm_store_ps(lane, sum);
    previous = _mm_cvtss_f32(_mm_shuffle_ps(last, last, _MM_SHUFFLE(3, 3, 3, 3)));
#else
    for (; i + 4 <= count; i += 4) {
        const float x0 = block[i] * block[i];
        const float xa = block[i + 1] * block[i + 1];
        const float xb = block[i + 2] * block[i + 2];
        const float xc = block[i + 3] * block[i + 3];
        lane[0] += (x0 + previous) * w[-i];
        lane[1] += (xa + x0) * w[-(i + 1)];
        lane[2] += (xb + xa) * w[-(i + 2)];
        lane[3] += (xc + xb) * w[-(i + 3)];
        previous = xc;
    }
#endif
    for (; i < count; ++i) {
        const float x = block[i] * block[i];
        lane[0] += (x + previous) * w[-i];
        previous = x;
    }
    y1_ = decay_[count] * y1_ + b0_ * ((lane[0] + lane[1]) + (lane[2] + lane[3]));
    x1_ = previous;
}

void LevelDetector::update_coefficients() noexcept {
    const double pi = 3.14159265358979323846;
    // Samples per period of the corner; at rates below 40 Hz the corner is held
    // under the Nyquist frequency, where the transform still has one.
    const double turns = std::max(double(time_) * double(sample_rate_), 1.0 / 0.49);
    const double k = 1.0 / std::tan(pi / turns);
    const double b0 = 1.0 / (1.0 + k);
    b0_ = float(b0);
    a1_ = float(b0 * (1.0 - k));
    double power = 1.0;
    for (float& d : decay_) {
        d = float(power);
        power *= -double(a1_);
    }
}

} // namespace effect
