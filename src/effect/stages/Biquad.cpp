#include "effect/stages/Biquad.h"

#include "effect/stages/LanePair.h"

#include <cmath>

namespace {

// Keeps the recursion out of denormals; added to the first output of each pair.
constexpr float anti_denormal = 1e-20f;

// N(s) and D(s) as n0 + n1·s + n2·s², s normalised to the frequency f.
struct Prototype {
    double n0, n1, n2, d0, d1, d2;
};

Prototype prototype(int type, double r, double q) {
    switch (type) {
    case Biquad::low_pass:
        return {1.0, 0.0, 0.0, 1.0, 1.0 / r, 1.0};
    case Biquad::high_pass:
        return {0.0, 0.0, 1.0, 1.0, 1.0 / r, 1.0};
    case Biquad::band_pass:
        return {0.0, r / q, 0.0, 1.0, 1.0 / q, 1.0};
    default: // a peak of gain r at f, bandwidth set by q
        return {1.0, r / q, 1.0, 1.0, 1.0 / q, 1.0};
    }
}

} // namespace

void Biquad::set(int type, float f, float r, float q) noexcept {
    type_ = type;
    f_ = f;
    r_ = r;
    q_ = q;
    const Prototype p = prototype(type, r, q);
    const double pi = 3.14159265358979323846;
    const double k = 1.0 / std::tan(pi * double(f) / double(sample_rate_));
    const double kk = k * k;
    const double norm = p.d0 + p.d1 * k + p.d2 * kk;
    b0_ = float((p.n0 + p.n1 * k + p.n2 * kk) / norm);
    b1_ = float(2.0 * (p.n0 - p.n2 * kk) / norm);
    b2_ = float((p.n0 - p.n1 * k + p.n2 * kk) / norm);
    a1_ = float(2.0 * (p.d0 - p.d2 * kk) / norm);
    a2_ = float((p.d0 - p.d1 * k + p.d2 * kk) / norm);
}

void Biquad::clear() noexcept {
    x_[0] = x_[1] = 0.0f;
    y_[0] = y_[1] = 0.0f;
    last_ = 0;
}

void Biquad::process(float* dst, const float* src, int count) noexcept {
    const int cur = last_;
    const int prev = cur ^ 1;
    float x1 = x_[cur], x2 = x_[prev];
    float y1 = y_[cur], y2 = y_[prev];
    // Coefficients in locals: stores to dst could otherwise alias them.
    const float b0 = b0_, b1 = b1_, b2 = b2_, a1 = a1_, a2 = a2_;
    int i = 0;
    for (; i + 1 < count; i += 2) {
        const float xa = src[i];
        const float xb = src[i + 1];
        const float ya = b0 * xa + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2 + anti_denormal;
        const float yb = b0 * xb + b1 * xa + b2 * x1 - a1 * ya - a2 * y1;
        dst[i] = ya;
        dst[i + 1] = yb;
        x2 = xa;
        x1 = xb;
        y2 = ya;
        y1 = yb;
    }
    // A pair leaves the ring's index where it was.
    x_[cur] = x1;
    x_[prev] = x2;
    y_[cur] = y1;
    y_[prev] = y2;
    if (i < count) {
        // A lone sample at the end takes the older slot and becomes the newest.
        const float x = src[i];
        const float y = b0_ * x + b1_ * x1 + b2_ * x2 - a1_ * y1 - a2_ * y2;
        dst[i] = y;
        last_ = prev;
        x_[prev] = x;
        y_[prev] = y;
    }
}

void Biquad::process_pair(Biquad& a, float* dst_a, const float* src_a, Biquad& b, float* dst_b,
                          const float* src_b, int count) noexcept {
#if defined(__SSE2__)
    using namespace lane_pair;
    const int ca = a.last_, pa = ca ^ 1;
    const int cb = b.last_, pb = cb ^ 1;
    __m128 x1 = lanes(a.x_[ca], b.x_[cb]), x2 = lanes(a.x_[pa], b.x_[pb]);
    __m128 y1 = lanes(a.y_[ca], b.y_[cb]), y2 = lanes(a.y_[pa], b.y_[pb]);
    const __m128 b0 = lanes(a.b0_, b.b0_), b1 = lanes(a.b1_, b.b1_), b2 = lanes(a.b2_, b.b2_);
    const __m128 a1 = lanes(a.a1_, b.a1_), a2 = lanes(a.a2_, b.a2_);
    const __m128 tiny = _mm_set1_ps(anti_denormal);
    int i = 0;
    for (; i + 1 < count; i += 2) {
        const __m128 xa = lanes(src_a[i], src_b[i]);
        const __m128 xb = lanes(src_a[i + 1], src_b[i + 1]);
        __m128 ya = _mm_add_ps(_mm_mul_ps(b0, xa), _mm_mul_ps(b1, x1));
        ya = _mm_sub_ps(_mm_add_ps(ya, _mm_mul_ps(b2, x2)), _mm_mul_ps(a1, y1));
        ya = _mm_add_ps(_mm_sub_ps(ya, _mm_mul_ps(a2, y2)), tiny);
        __m128 yb = _mm_add_ps(_mm_mul_ps(b0, xb), _mm_mul_ps(b1, xa));
        yb = _mm_sub_ps(_mm_add_ps(yb, _mm_mul_ps(b2, x1)), _mm_mul_ps(a1, ya));
        yb = _mm_sub_ps(yb, _mm_mul_ps(a2, y1));
        dst_a[i] = first(ya);
        dst_a[i + 1] = first(yb);
        dst_b[i] = second(ya);
        dst_b[i + 1] = second(yb);
        x2 = xa;
        x1 = xb;
        y2 = ya;
        y1 = yb;
    }
    a.x_[ca] = first(x1);
    a.x_[pa] = first(x2);
    a.y_[ca] = first(y1);
    a.y_[pa] = first(y2);
    b.x_[cb] = second(x1);
    b.x_[pb] = second(x2);
    b.y_[cb] = second(y1);
    b.y_[pb] = second(y2);
    // A lone sample at the end: process() does exactly that with one sample.
    if (i < count) {
        a.process(dst_a + i, src_a + i, 1);
        b.process(dst_b + i, src_b + i, 1);
    }
#else
    a.process(dst_a, src_a, count);
    b.process(dst_b, src_b, count);
#endif
}

std::array<float, 4> Biquad::state() const noexcept {
    return {x_[last_], x_[last_ ^ 1], y_[last_], y_[last_ ^ 1]};
}
