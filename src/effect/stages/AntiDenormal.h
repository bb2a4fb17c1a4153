#pragma once

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The recursive filters add 1e-20 to their output to stay out of denormal
// numbers. To any float of magnitude 2^-40 or more that addition gives the
// float back: half a unit in its last place is above 5e-20, so the sum rounds
// to it. So the addition is made only below that, where it changes the value,
// and the recursions do not wait on it while a signal passes: the results are
// those of adding it every time.
namespace effect::anti_denormal {

constexpr float offset = 1e-20f;
constexpr float reach = 0x1p-40f; // at or above, adding the offset changes nothing

inline float added(float y) noexcept {
    return std::abs(y) < reach ? y + offset : y;
}

#if defined(__SSE2__)
// In lanes 0 and 1 (two filters side by side); the other lanes get the
// offset whenever one of these needs it.
inline __m128 added_pair(__m128 y) noexcept {
    const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), y);
    if ((_mm_movemask_ps(_mm_cmplt_ps(magnitude, _mm_set1_ps(reach))) & 3) != 0)
        return _mm_add_ps(y, _mm_set1_ps(offset));
    return y;
}
#endif

} // namespace effect::anti_denormal
