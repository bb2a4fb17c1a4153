#include "effect/stages/DistortionCurves.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

const DistortionCurves& DistortionCurves::instance() {
    static const DistortionCurves curves;
    return curves;
}

DistortionCurves::DistortionCurves()
    : overdrive_([](double u) { return std::tanh(u - double(knot_offset)); }),
      puncher_([](double u) { return std::sin(u * 3.14159265358979323846 / 8.0); }),
      high_(float(std::tanh(double(knot_offset)))) {}

#if defined(__SSE2__)

namespace {

// The cubics of four segments at four coordinates: the rows are gathered and
// turned into one vector per coefficient, then evaluated as the scalar form
// does, ((c3·u + c2)·u + c1)·u + c0. A segment (0..15) is read straight out
// of the low half of its lane.
inline __m128 eval4(const mppi::CubicTable<float>& table, __m128i segment, __m128 u) {
    __m128 c0 = _mm_load_ps(table.row(_mm_extract_epi16(segment, 0)));
    __m128 c1 = _mm_load_ps(table.row(_mm_extract_epi16(segment, 2)));
    __m128 c2 = _mm_load_ps(table.row(_mm_extract_epi16(segment, 4)));
    __m128 c3 = _mm_load_ps(table.row(_mm_extract_epi16(segment, 6)));
    _MM_TRANSPOSE4_PS(c0, c1, c2, c3);
    const __m128 v = _mm_add_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(c3, u), c2), u), c1);
    return _mm_add_ps(_mm_mul_ps(v, u), c0);
}

} // namespace

void DistortionCurves::overdrive_block(const float* x, float scale, float* out,
                                       int count) const noexcept {
    const __m128 k = _mm_set1_ps(scale);
    const __m128 offset = _mm_set1_ps(knot_offset);
    const __m128 last = _mm_set1_ps(last_coordinate);
    const __m128 top = _mm_set1_ps(float(segments));
    const __m128 high = _mm_set1_ps(high_);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128 u = _mm_add_ps(_mm_mul_ps(_mm_loadu_ps(x + i), k), offset);
        // max(min(last, u), 0) keeps the scalar form's answers, not-a-number included.
        const __m128 inside = _mm_max_ps(_mm_min_ps(last, u), _mm_setzero_ps());
        const __m128 v = eval4(overdrive_, _mm_cvttps_epi32(inside), inside);
        const __m128 above = _mm_cmpge_ps(u, top);
        _mm_storeu_ps(out + i, _mm_or_ps(_mm_and_ps(above, high), _mm_andnot_ps(above, v)));
    }
    for (; i < count; ++i)
        out[i] = overdrive(scale * x[i]);
}

void DistortionCurves::puncher_block(const float* x, float scale, float* out,
                                     int count) const noexcept {
    const __m128 k = _mm_set1_ps(scale);
    const __m128 per_unit = _mm_set1_ps(1.0f / float(segments));
    const __m128 period = _mm_set1_ps(float(segments));
    const __m128 limit = _mm_set1_ps(1.0e9f);
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128 u = _mm_mul_ps(_mm_loadu_ps(x + i), k);
        __m128 periods = _mm_mul_ps(u, per_unit);
        // Out of range or not a number: 0, computed from a harmless coordinate.
        const __m128 usable = _mm_cmplt_ps(_mm_and_ps(periods, magnitude), limit);
        u = _mm_and_ps(usable, u);
        periods = _mm_and_ps(usable, periods);
        __m128i whole = _mm_cvttps_epi32(periods);
        // Truncation to floor: one less where the truncated value is above.
        whole =
            _mm_add_epi32(whole, _mm_castps_si128(_mm_cmpgt_ps(_mm_cvtepi32_ps(whole), periods)));
        __m128 r = _mm_sub_ps(u, _mm_mul_ps(period, _mm_cvtepi32_ps(whole)));
        r = _mm_andnot_ps(_mm_cmpge_ps(r, period), r);
        const __m128 v = eval4(puncher_, _mm_cvttps_epi32(r), r);
        _mm_storeu_ps(out + i, _mm_and_ps(usable, v));
    }
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
