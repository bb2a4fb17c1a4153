#include "effect/stages/Biquad.h"

#include "effect/stages/AntiDenormal.h"

#include <cmath>

namespace effect {

namespace {

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

void Biquad::follow(const float* block, int count) noexcept {
    if (count >= 2) {
        x_[last_] = y_[last_] = block[count - 1];
        x_[last_ ^ 1] = y_[last_ ^ 1] = block[count - 2];
    } else if (count == 1) {
        // As a lone processed sample: the older slot becomes the newest.
        last_ ^= 1;
        x_[last_] = y_[last_] = block[0];
    }
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
        const float ya = anti_denormal::added(b0 * xa + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2);
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

std::array<float, 4> Biquad::state() const noexcept {
    return {x_[last_], x_[last_ ^ 1], y_[last_], y_[last_ ^ 1]};
}

} // namespace effect
