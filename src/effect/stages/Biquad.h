#pragma once

#include "effect/stages/AntiDenormal.h"
#include "effect/stages/LanePair.h"

#include <array>

namespace effect {

// A second-order filter in 32-bit floats, direct form I, whose coefficients
// come from an analog prototype through the bilinear transform with the
// frequency prewarped to f. The two last inputs and outputs sit in two-entry
// rings with a shared index, so single samples and pairs can alternate. It
// belongs to the audio thread (the editor thread stands in for it while the
// audio thread is stopped).
class Biquad {
public:
    enum Type { low_pass = 0, high_pass, resonator, band_pass };

    // [audio thread] Coefficients for `type` at frequency f (Hz),
    // resonance r and quality q, at the current sample rate.
    void set(int type, float f, float r, float q) noexcept;
    // [editor thread, audio thread stopped] Takes effect at the next set().
    void set_sample_rate(float rate) noexcept { sample_rate_ = rate; }
    // Inputs and outputs of the recursion back to 0.
    void clear() noexcept;
    // [audio thread] The memory a filter passing `count` samples unchanged
    // would hold: their last two as inputs and as outputs.
    void follow(const float* block, int count) noexcept;

    // [audio thread] Filters `count` samples from src into dst; both may be
    // the same block.
    void process(float* dst, const float* src, int count) noexcept;
    // [audio thread] Two filters over `count` samples each at once (side by
    // side in vector lanes where the machine has them), with the results
    // process() gives for each; dst and src of one filter may be the same block.
    static void process_pair(Biquad& a, float* dst_a, const float* src_a, Biquad& b, float* dst_b,
                             const float* src_b, int count) noexcept {
        process_pair_from(
            a, dst_a, [src_a](int i) { return src_a[i]; }, b, dst_b,
            [src_b](int i) { return src_b[i]; }, count);
    }
    // [audio thread] The same over inputs made one sample at a time:
    // read_a(i) and read_b(i) give input sample i, in order of i, and each is
    // read before output sample i is written. Making the inputs in the loop
    // lets that work overlap the recursions, which wait on their last outputs.
    template <class ReadA, class ReadB>
    static void process_pair_from(Biquad& a, float* dst_a, ReadA read_a, Biquad& b, float* dst_b,
                                  ReadB read_b, int count) noexcept;

    int type() const noexcept { return type_; }
    float sample_rate() const noexcept { return sample_rate_; }
    float frequency() const noexcept { return f_; }
    float resonance() const noexcept { return r_; }
    float quality() const noexcept { return q_; }
    // The recursion's memory: last input, the one before, last output, the one before.
    std::array<float, 4> state() const noexcept;

private:
    float b0_ = 1.0f, b1_ = 0.0f, b2_ = 0.0f, a1_ = 0.0f, a2_ = 0.0f;
    float x_[2] = {0.0f, 0.0f};
    float y_[2] = {0.0f, 0.0f};
    // x_[last_] and y_[last_] hold the most recent sample, the other slot the one before.
    int last_ = 0;
    int type_ = resonator;
    float sample_rate_ = 44100.0f;
    float f_ = 1000.0f;
    float r_ = 1.0f;
    float q_ = 1.0f;
};

template <class ReadA, class ReadB>
void Biquad::process_pair_from(Biquad& a, float* dst_a, ReadA read_a, Biquad& b, float* dst_b,
                               ReadB read_b, int count) noexcept {
    int i = 0;
#if defined(__SSE2__)
    using namespace lane_pair;
    const int ca = a.last_, pa = ca ^ 1;
    const int cb = b.last_, pb = cb ^ 1;
    __m128 x1 = lanes(a.x_[ca], b.x_[cb]), x2 = lanes(a.x_[pa], b.x_[pb]);
    __m128 y1 = lanes(a.y_[ca], b.y_[cb]), y2 = lanes(a.y_[pa], b.y_[pb]);
    const __m128 b0 = lanes(a.b0_, b.b0_), b1 = lanes(a.b1_, b.b1_), b2 = lanes(a.b2_, b.b2_);
    const __m128 a1 = lanes(a.a1_, b.a1_), a2 = lanes(a.a2_, b.a2_);
    for (; i + 1 < count; i += 2) {
        const __m128 xa = lanes(read_a(i), read_b(i));
        const __m128 xb = lanes(read_a(i + 1), read_b(i + 1));
        __m128 ya = _mm_add_ps(_mm_mul_ps(b0, xa), _mm_mul_ps(b1, x1));
        ya = _mm_sub_ps(_mm_add_ps(ya, _mm_mul_ps(b2, x2)), _mm_mul_ps(a1, y1));
        // The first output of each pair takes the anti-denormal offset.
        ya = anti_denormal::added_pair(_mm_sub_ps(ya, _mm_mul_ps(a2, y2)));
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
#endif
    // A lone sample at the end (or, without vector lanes, every sample): the
    // inputs in place, then process() does exactly that.
    if (i == count)
        return;
    for (int k = i; k < count; ++k) {
        dst_a[k] = read_a(k);
        dst_b[k] = read_b(k);
    }
    a.process(dst_a + i, dst_a + i, count - i);
    b.process(dst_b + i, dst_b + i, count - i);
}

} // namespace effect
