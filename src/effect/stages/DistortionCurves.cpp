#include "effect/stages/DistortionCurves.h"

#include <algorithm>
#include <cmath>

namespace effect {

const DistortionCurves& DistortionCurves::instance() {
    static const DistortionCurves curves;
    return curves;
}

DistortionCurves::DistortionCurves()
    : overdrive_([](double u) { return std::tanh(u - double(knot_offset)); }),
      puncher_([](double u) { return std::sin(u * 3.14159265358979323846 / 8.0); }),
      high_(float(std::tanh(double(knot_offset)))) {
    for (int i = 0; i < segments; ++i) {
        for (int k = 0; k < 4; ++k) {
            overdrive_rows_[4 * i + k] = overdrive_.row(i)[k];
            puncher_rows_[4 * i + k] = puncher_.row(i)[k];
#if defined(QUEVRIN_HAS_AVX2)
            overdrive_columns_[k][i] = overdrive_.row(i)[k];
            puncher_columns_[k][i] = puncher_.row(i)[k];
#endif
        }
    }
    // ((0·u + 0)·u + 0)·u + high_ is high_ for any coordinate in range.
    const float top[4] = {high_, 0.0f, 0.0f, 0.0f};
    std::copy(top, top + 4, overdrive_rows_ + 4 * segments);
}

#if defined(__SSE2__)

void DistortionCurves::overdrive_block(const float* x, float scale, float* out,
                                       int count) const noexcept {
    const __m128 k = _mm_set1_ps(scale);
    int i = 0;
    for (; i + 4 <= count; i += 4)
        _mm_storeu_ps(out + i, overdrive4(_mm_loadu_ps(x + i), k));
    for (; i < count; ++i)
        out[i] = overdrive(scale * x[i]);
}

void DistortionCurves::puncher_block(const float* x, float scale, float* out,
                                     int count) const noexcept {
    const __m128 k = _mm_set1_ps(scale);
    int i = 0;
    for (; i + 4 <= count; i += 4)
        _mm_storeu_ps(out + i, puncher4(_mm_loadu_ps(x + i), k));
    for (; i < count; ++i)
        out[i] = puncher(scale * x[i]);
}

#else

void DistortionCurves::overdrive_block(const float* x, float scale, float* out,
                                       int count) const noexcept {
    for (int i = 0; i < count; ++i)
        out[i] = overdrive(scale * x[i]);
}

void DistortionCurves::puncher_block(const float* x, float scale, float* out,
                                     int count) const noexcept {
    for (int i = 0; i < count; ++i)
        out[i] = puncher(scale * x[i]);
}

#endif

} // namespace effect
