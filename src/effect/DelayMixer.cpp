#include "effect/DelayMixer.h"

#include "effect/Avx2.h"

namespace effect {

namespace {

void set_if_different(float& pending, float x, bool& changed) {
    if (pending != x) {
        pending = x;
        changed = true;
    }
}

} // namespace

void DelayMixer::set_feedback(int line, float x) noexcept {
    set_if_different(feedback_[line], x, changed_);
}
void DelayMixer::set_level(int line, float x) noexcept {
    set_if_different(level_[line], x, changed_);
}
void DelayMixer::set_pan(int line, float x) noexcept {
    set_if_different(pan_[line], x, changed_);
}
void DelayMixer::set_predelay_level(float x) noexcept {
    set_if_different(predelay_, x, changed_);
}
void DelayMixer::set_separation(float x) noexcept {
    set_if_different(separation_, x, changed_);
}

void DelayMixer::set_two_line(bool on) noexcept {
    two_line_ = on;
    changed_ = true;
}

void DelayMixer::set_sustain(bool on) noexcept {
    sustain_ = on;
    changed_ = true;
}

void DelayMixer::set_mute(int line, bool on) noexcept {
    mute_[line] = on;
    changed_ = true;
}

void DelayMixer::compute(Coefficients& c) const noexcept {
    const float a = sustain_ ? 1.0f : feedback_[0];
    const float b = sustain_ ? 1.0f : feedback_[1];
    const float s = separation_;
    if (two_line_) {
        c.m[0] = a * (1.0f - s);
        c.m[1] = a * s;
        c.m[2] = s * b;
        c.m[3] = (1.0f - s) * b;
    } else {
        c.m[0] = a;
        c.m[1] = c.m[2] = c.m[3] = 0.0f;
    }
    float left[2], right[2];
    for (int k = 0; k < 2; ++k) {
        const float v = mute_[k] ? 0.0f : level_[k];
        const float q = (pan_[k] + 1.0f) / 2.0f;
        left[k] = (1.0f - q) * v;
        right[k] = q * v;
    }
    // What a line feeds back is what it plays, levelled and panned.
    c.g[0] = c.m[0] * left[0] + c.m[1] * left[1];
    c.g[1] = c.m[2] * left[0] + c.m[3] * left[1];
    c.g[2] = c.m[0] * right[0] + c.m[1] * right[1];
    c.g[3] = c.m[2] * right[0] + c.m[3] * right[1];
    c.predelay = sustain_ ? 0.0f : predelay_;
}

void DelayMixer::reset() noexcept {
    compute(current_);
    ramping_ = false;
    changed_ = false;
}

void DelayMixer::tick() noexcept {
    ramping_ = changed_;
    if (!changed_)
        return;
    changed_ = false;
    start_ = current_;
    compute(current_);
    const float* from = &start_.m[0];
    const float* to = &current_.m[0];
    float* step = &step_.m[0];
    for (int i = 0; i < nbr_coefficients; ++i)
        step[i] = (to[i] - from[i]) / ramp_length;
}

void DelayMixer::process(float* L, float* R, const float* x0, const float* x1, float* w0, float* w1,
                         int count, int offset) const noexcept {
    avx2::run([&]() QUEVRIN_INLINE {
        if (two_line_) {
            if (ramping_)
                run<true, true>(L, R, x0, x1, w0, w1, count, offset);
            else
                run<true, false>(L, R, x0, x1, w0, w1, count, offset);
        } else {
            if (ramping_)
                run<false, true>(L, R, x0, x1, w0, w1, count, offset);
            else
                run<false, false>(L, R, x0, x1, w0, w1, count, offset);
        }
    });
}

// The six blocks never overlap (the engine's scratch, the lines' read blocks,
// the lines' buffers): restrict lets the loop run several samples at a time
// without a run-time overlap check.
template <bool TwoLines, bool Ramp>
QUEVRIN_INLINE inline void DelayMixer::run(float* __restrict L, float* __restrict R,
                                           const float* __restrict x0, const float* __restrict x1,
                                           float* __restrict w0, float* __restrict w1, int count,
                                           int offset) const noexcept {
    // Copies in locals: the stores to the signal arrays could otherwise alias
    // the members, which would then be read again for every sample.
    const Coefficients c = current_;
    const Coefficients start = start_;
    const Coefficients step = step_;
    const float input = sustain_ ? 0.0f : 1.0f;
    for (int i = 0; i < count; ++i) {
        Coefficients r;
        const Coefficients* k = &c;
        if (Ramp) {
            // The value at the tick's sample j is start + step·(j + 1): the
            // last sample of the ramp reaches the new value, and any cut of
            // the tick into runs gives the same values.
            const float j = float(offset + i + 1);
            const float* s = &start.m[0];
            const float* d = &step.m[0];
            float* out = &r.m[0];
            for (int n = 0; n < nbr_coefficients; ++n)
                out[n] = s[n] + d[n] * j;
            k = &r;
        }
        const float l = L[i];
        const float rr = R[i];
        const float a = x0[i];
        if (TwoLines) {
            const float b = x1[i];
            w0[i] = k->m[0] * a + k->m[2] * b + input * l;
            w1[i] = k->m[1] * a + k->m[3] * b + input * rr;
            L[i] = k->g[0] * a + k->g[1] * b + k->predelay * l;
            R[i] = k->g[2] * a + k->g[3] * b + k->predelay * rr;
        } else {
            w0[i] = k->m[0] * a + input * l + input * rr;
            L[i] = k->g[0] * a + k->predelay * l;
            R[i] = k->g[2] * a + k->predelay * rr;
        }
    }
}

} // namespace effect
