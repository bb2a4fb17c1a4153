#pragma once

#include "mppi/CubicTable.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Where the compiler builds AVX2 forms, the curves have eight-lane ones.
#include "effect/Avx2.h"

namespace effect {

// The two shaping curves of the distortion, each 16 cubic segments: a tanh
// soft clipper over [-8, 8] and one period of a sine for the wave folder.
// Built once, on first use, and shared by every stage; read-only afterwards,
// so any thread may evaluate them.
class DistortionCurves {
public:
    // Coordinate units of the folder per radian: one period spans 16 segments.
    static constexpr float fold_units_per_radian = 16.0f / 6.28318530717958647692f;

    // [editor thread] The tables, built on the first call (a stage's construction).
    static const DistortionCurves& instance();

    // About tanh(x); held at tanh(-8) and tanh(8) outside [-8, 8].
    float overdrive(float x) const noexcept;
    // About sin(2π·u/16) for any u: the table repeats every 16 units.
    float puncher(float u) const noexcept;

    // The same over a block: out[i] = overdrive(scale · x[i]), and
    // out[i] = puncher(scale · x[i]); four samples at a time where the
    // processor has vector registers, with results equal to the one-sample forms.
    void overdrive_block(const float* x, float scale, float* out, int count) const noexcept;
    void puncher_block(const float* x, float scale, float* out, int count) const noexcept;

#if defined(__SSE2__)
    // Four samples in the lanes of one vector: overdrive(scale · x) and
    // puncher(scale · x) in each lane, equal to the one-sample forms.
    __m128 overdrive4(__m128 x, __m128 scale) const noexcept;
    __m128 puncher4(__m128 x, __m128 scale) const noexcept;
#endif
#if defined(QUEVRIN_HAS_AVX2)
    // Eight samples: each lane as the one-sample form computes it. Only where
    // avx2::available().
    QUEVRIN_AVX2 __m256 overdrive8(__m256 x, __m256 scale) const noexcept;
    QUEVRIN_AVX2 __m256 puncher8(__m256 x, __m256 scale) const noexcept;
#endif

private:
    static constexpr float knot_offset = 8.0f;
    static constexpr int segments = mppi::CubicTable<float>::segments;
    // The largest coordinate below the last knot.
    static constexpr float last_coordinate = 15.999999f;

    DistortionCurves();

#if defined(__SSE2__)
    static __m128 eval4(const float* rows, __m128i segment, __m128 u) noexcept;
#endif
#if defined(QUEVRIN_HAS_AVX2)
    // A table by coefficient: [k][i] is coefficient k of segment i.
    using Columns = float[4][16];
    QUEVRIN_AVX2 static __m256 eval8(const Columns& table, __m256i segment, __m256 u) noexcept;
#endif

    mppi::CubicTable<float> overdrive_;
    mppi::CubicTable<float> puncher_;
    float high_;
    // The tables' rows one after the other, four coefficients each, for the
    // vector forms. The overdrive has a row more, the constant high_, taken
    // at or above the top.
    alignas(16) float overdrive_rows_[(segments + 1) * 4];
    alignas(16) float puncher_rows_[segments * 4];
#if defined(QUEVRIN_HAS_AVX2)
    // The same by coefficient, for the eight-lane forms.
    alignas(32) Columns overdrive_columns_;
    alignas(32) Columns puncher_columns_;
#endif
};

inline float DistortionCurves::overdrive(float x) const noexcept {
    const float u = x + knot_offset;
    // Evaluated on the clamped coordinate without branches (the signal jumps
    // in and out of the table's range). Segment 0 at 0 is exactly tanh(-8),
    // so only the top needs its own value; not-a-number lands there too.
    const float inside = std::max(0.0f, std::min(u, last_coordinate));
    const float v = overdrive_.eval(int(inside), inside);
    return u >= float(segments) ? high_ : v;
}

inline float DistortionCurves::puncher(float u) const noexcept {
    // u - 16·floor(u/16), with the floor taken without a library call. The
    // loop's level control keeps u small; anything beyond the range of an int
    // (or not a number) is taken as 0.
    const float periods = u * (1.0f / float(segments));
    if (!(std::abs(periods) < 1.0e9f))
        return 0.0f;
    int whole = int(periods);
    whole -= float(whole) > periods ? 1 : 0;
    float r = u - float(segments) * float(whole);
    // A coordinate a hair below 0 rounds up to exactly 16, where segment 0's
    // cubic is far from the sine: wrap it back to the start of the period.
    r = r >= float(segments) ? 0.0f : r;
    return puncher_.eval(int(r), r);
}

#if defined(__SSE2__)

// The cubics of four segments at four coordinates: the rows are gathered and
// turned into one vector per coefficient, then evaluated as the scalar form
// does, ((c3·u + c2)·u + c1)·u + c0. A row's first index (below 2^16) is
// read straight out of the low half of its lane.
inline __m128 DistortionCurves::eval4(const float* rows, __m128i segment, __m128 u) noexcept {
    const __m128i first = _mm_slli_epi32(segment, 2);
    __m128 c0 = _mm_load_ps(rows + _mm_extract_epi16(first, 0));
    __m128 c1 = _mm_load_ps(rows + _mm_extract_epi16(first, 2));
    __m128 c2 = _mm_load_ps(rows + _mm_extract_epi16(first, 4));
    __m128 c3 = _mm_load_ps(rows + _mm_extract_epi16(first, 6));
    _MM_TRANSPOSE4_PS(c0, c1, c2, c3);
    const __m128 v = _mm_add_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(c3, u), c2), u), c1);
    return _mm_add_ps(_mm_mul_ps(v, u), c0);
}

inline __m128 DistortionCurves::overdrive4(__m128 x, __m128 scale) const noexcept {
    const __m128 u = _mm_add_ps(_mm_mul_ps(x, scale), _mm_set1_ps(knot_offset));
    // max(min(last, u), 0) keeps the scalar form's answers, not-a-number included.
    const __m128 inside = _mm_max_ps(_mm_min_ps(_mm_set1_ps(last_coordinate), u), _mm_setzero_ps());
    // At or above the top (all ones in the mask: one row further) the constant row.
    const __m128 above = _mm_cmpge_ps(u, _mm_set1_ps(float(segments)));
    const __m128i segment = _mm_sub_epi32(_mm_cvttps_epi32(inside), _mm_castps_si128(above));
    return eval4(overdrive_rows_, segment, inside);
}

inline __m128 DistortionCurves::puncher4(__m128 x, __m128 scale) const noexcept {
    const __m128 period = _mm_set1_ps(float(segments));
    __m128 u = _mm_mul_ps(x, scale);
    __m128 periods = _mm_mul_ps(u, _mm_set1_ps(1.0f / float(segments)));
    // Out of range or not a number: 0, computed from a harmless coordinate.
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    const __m128 usable = _mm_cmplt_ps(_mm_and_ps(periods, magnitude), _mm_set1_ps(1.0e9f));
    u = _mm_and_ps(usable, u);
    periods = _mm_and_ps(usable, periods);
    __m128i whole = _mm_cvttps_epi32(periods);
    // Truncation to floor: one less where the truncated value is above.
    whole = _mm_add_epi32(whole, _mm_castps_si128(_mm_cmpgt_ps(_mm_cvtepi32_ps(whole), periods)));
    __m128 r = _mm_sub_ps(u, _mm_mul_ps(period, _mm_cvtepi32_ps(whole)));
    r = _mm_andnot_ps(_mm_cmpge_ps(r, period), r);
    return _mm_and_ps(usable, eval4(puncher_rows_, _mm_cvttps_epi32(r), r));
}

#endif

#if defined(QUEVRIN_HAS_AVX2)

// eval4's cubics for eight segments: each coefficient of the 16 segments
// fills two registers, and a lane takes its segment's with two permutes and
// a blend on the segment's top bit.
QUEVRIN_AVX2 inline __m256 DistortionCurves::eval8(const Columns& table, __m256i segment,
                                                   __m256 u) noexcept {
    const __m256 upper = _mm256_castsi256_ps(_mm256_cmpgt_epi32(segment, _mm256_set1_epi32(7)));
    const auto column = [segment, upper](const float* c) QUEVRIN_AVX2 {
        return _mm256_blendv_ps(_mm256_permutevar8x32_ps(_mm256_load_ps(c), segment),
                                _mm256_permutevar8x32_ps(_mm256_load_ps(c + 8), segment), upper);
    };
    const __m256 c0 = column(table[0]), c1 = column(table[1]);
    const __m256 c2 = column(table[2]), c3 = column(table[3]);
    const __m256 v = _mm256_add_ps(_mm256_mul_ps(_mm256_add_ps(_mm256_mul_ps(c3, u), c2), u), c1);
    return _mm256_add_ps(_mm256_mul_ps(v, u), c0);
}

QUEVRIN_AVX2 inline __m256 DistortionCurves::overdrive8(__m256 x, __m256 scale) const noexcept {
    const __m256 u = _mm256_add_ps(_mm256_mul_ps(x, scale), _mm256_set1_ps(knot_offset));
    const __m256 inside =
        _mm256_max_ps(_mm256_min_ps(_mm256_set1_ps(last_coordinate), u), _mm256_setzero_ps());
    // At or above the top the constant, as the four-lane form's constant row gives it.
    const __m256 above = _mm256_cmp_ps(u, _mm256_set1_ps(float(segments)), _CMP_GE_OQ);
    const __m256 v = eval8(overdrive_columns_, _mm256_cvttps_epi32(inside), inside);
    return _mm256_blendv_ps(v, _mm256_set1_ps(high_), above);
}

QUEVRIN_AVX2 inline __m256 DistortionCurves::puncher8(__m256 x, __m256 scale) const noexcept {
    const __m256 period = _mm256_set1_ps(float(segments));
    __m256 u = _mm256_mul_ps(x, scale);
    __m256 periods = _mm256_mul_ps(u, _mm256_set1_ps(1.0f / float(segments)));
    const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
    const __m256 usable =
        _mm256_cmp_ps(_mm256_and_ps(periods, magnitude), _mm256_set1_ps(1.0e9f), _CMP_LT_OQ);
    u = _mm256_and_ps(usable, u);
    periods = _mm256_and_ps(usable, periods);
    __m256i whole = _mm256_cvttps_epi32(periods);
    whole = _mm256_add_epi32(
        whole, _mm256_castps_si256(_mm256_cmp_ps(_mm256_cvtepi32_ps(whole), periods, _CMP_GT_OQ)));
    __m256 r = _mm256_sub_ps(u, _mm256_mul_ps(period, _mm256_cvtepi32_ps(whole)));
    r = _mm256_andnot_ps(_mm256_cmp_ps(r, period, _CMP_GE_OQ), r);
    return _mm256_and_ps(usable, eval8(puncher_columns_, _mm256_cvttps_epi32(r), r));
}

#endif

} // namespace effect
