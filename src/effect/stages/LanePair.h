#pragma once

// Two filters of the same kind run side by side in the lanes of one SSE2
// vector: lane 0 holds the first filter's value, lane 1 the second's. Each
// lane sees the operations of the scalar form in the same order, so each
// filter's results stay those it gives on its own.
#if defined(__SSE2__)

#include <emmintrin.h>

namespace effect::lane_pair {

inline __m128 lanes(float a, float b) noexcept {
    return _mm_unpacklo_ps(_mm_set_ss(a), _mm_set_ss(b));
}

inline float first(__m128 v) noexcept {
    return _mm_cvtss_f32(v);
}

inline float second(__m128 v) noexcept {
    return _mm_cvtss_f32(_mm_shuffle_ps(v, v, _MM_SHUFFLE(1, 1, 1, 1)));
}

} // namespace effect::lane_pair

#endif
