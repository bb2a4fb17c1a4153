#include "effect/StereoTapDelay.h"

#include "effect/Avx2.h"
#include "effect/DelayBufferSize.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace effect {

namespace {

constexpr int tick_length = 256;
constexpr double fixed_one = 4294967296.0; // 2^32
// Input is held within 2^20 (120 dB above full scale), far beyond any real
// signal: every square, sum and resonance in the feedback loops then stays
// far from the end of the float range, so finite input of any size keeps the
// output finite.
constexpr float input_limit = 1048576.0f;

inline float bounded(float x) noexcept {
    return std::min(input_limit, std::max(-input_limit, x));
}

// Input frames into the buffer, held within the limit; four at a time where
// there are vector registers.
template <typename Frame>
void write_input(Frame* __restrict to, const float* __restrict left, const float* __restrict right,
                 int count) noexcept {
    int i = 0;
#if defined(__SSE2__)
    // max(x, -limit) then min(.., limit) answer as bounded() does, a number
    // or not: -limit for not-a-number.
    const __m128 high = _mm_set1_ps(input_limit), low = _mm_set1_ps(-input_limit);
    for (; i + 4 <= count; i += 4) {
        const __m128 l = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(left + i), low), high);
        const __m128 r = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(right + i), low), high);
        _mm_storeu_ps(&to[i].l, _mm_unpacklo_ps(l, r));
        _mm_storeu_ps(&to[i + 2].l, _mm_unpackhi_ps(l, r));
    }
#endif
    for (; i < count; ++i)
        to[i] = Frame{bounded(left[i]), bounded(right[i])};
}

} // namespace

void StereoTapDelay::init(mppi::PluginInternal& plugin) {
    for (int t = 0; t < nbr_taps; ++t)
        taps_[t].init(t, plugin);
    allocate();
    for (TapUnit& tap : taps_)
        tap.set_sample_rate(sample_rate_, dmax_);
}

void StereoTapDelay::set_defaults() {
    for (TapUnit& tap : taps_)
        tap.set_defaults();
    reset();
}

void StereoTapDelay::reset() noexcept {
    buffer_.clear();
    w_ = 0;
    processed_ = 0;
    for (TapUnit& tap : taps_)
        tap.reset();
}

void StereoTapDelay::set_sample_rate(float rate) {
    sample_rate_ = rate;
    allocate();
    buffer_.clear();
    w_ = 0;
    processed_ = 0;
    for (TapUnit& tap : taps_)
        tap.set_sample_rate(rate, dmax_);
}

void StereoTapDelay::allocate() {
    dmax_ = static_cast<int>(longest_delay(sample_rate_));
    const int n = delay_buffer_size(dmax_);
    // A failed allocation keeps the previous buffer; delays stay inside it.
    if (n != buffer_size())
        buffer_.allocate(n);
    mask_ = buffer_size() - 1;
    dmax_ = std::min(dmax_, buffer_size() - 256);
    if (w_ >= buffer_size())
        w_ = 0;
}

void StereoTapDelay::tempo_changed() noexcept {
    for (TapUnit& tap : taps_)
        tap.tempo_changed();
}

void StereoTapDelay::tick() noexcept {
    for (int t = 0; t < nbr_taps; ++t) {
        TapUnit& tap = taps_[t];
        tap.tick();
        if (tap.delay() != tap.previous_delay()) {
            // Read positions of the glide, counted from the tick's start so
            // that any cut of the tick into runs reads the same positions.
            glide_start_[t] = std::uint64_t((w_ - tap.previous_delay()) & mask_) << 32;
            glide_speed_[t] = std::llround((1.0 - tap.glide_increment()) * fixed_one);
        }
    }
    processed_ = 0;
}

void StereoTapDelay::process(float* L, float* R, const float* in_left, const float* in_right,
                             int count) noexcept {
    // The input goes in first, so a tap at delay 0 plays the current frame.
    // In at most two stretches, up to the buffer's end and from its start.
    Frame* buf = buffer_.data();
    buffer_.will_write(w_, count);
    const int first = std::min(count, buffer_size() - w_);
    write_input(buf + w_, in_left, in_right, first);
    write_input(buf, in_left + first, in_right + first, count - first);

    bool any = false;
    for (int t = 0; t < nbr_taps; ++t) {
        if (!taps_[t].contributes())
            continue;
        announce_reads(t, count);
        if (any)
            mix_tap<true>(t, L, R, count);
        else
            mix_tap<false>(t, L, R, count);
        any = true;
    }
    if (!any) {
        std::fill(L, L + count, 0.0f);
        std::fill(R, R + count, 0.0f);
    }
    w_ = (w_ + count) & mask_;
    processed_ += count;
}

namespace {

// Gains at the tick's sample j: ramped to the new gains on the tick's last
// sample, computed from j so that any cut of the tick gives the same values.
struct GainRamp {
    TapUnit::Gains start, step;
    TapUnit::Gains at(int j) const {
        const float k = float(j + 1);
        return TapUnit::Gains{start.ll + step.ll * k, start.lr + step.lr * k,
                              start.rl + step.rl * k, start.rr + step.rr * k};
    }
};

template <bool Add>
inline void store(float* L, float* R, int i, float l, float r) {
    if (Add) {
        L[i] += l;
        R[i] += r;
    } else {
        L[i] = l;
        R[i] = r;
    }
}

#if defined(__SSE2__)

// Four frames of a glide in vector lanes: the frames' left and right
// channels, the gains at four samples of the tick, and the outputs, each
// lane computed as the one-frame form computes it.
struct Frames4 {
    __m128 l, r;
};

// From two vectors of two frames each (l r l r).
inline Frames4 split(__m128 f01, __m128 f23) noexcept {
    return {_mm_shuffle_ps(f01, f23, _MM_SHUFFLE(2, 0, 2, 0)),
            _mm_shuffle_ps(f01, f23, _MM_SHUFFLE(3, 1, 3, 1))};
}

// Two frames from anywhere in the buffer.
template <typename Frame>
inline __m128 two_frames(const Frame& a, const Frame& b) noexcept {
    const __m128 low = _mm_loadl_pi(_mm_setzero_ps(), reinterpret_cast<const __m64*>(&a));
    return _mm_loadh_pi(low, reinterpret_cast<const __m64*>(&b));
}

struct Gains4 {
    __m128 ll, lr, rl, rr;
};

inline Gains4 constant4(const TapUnit::Gains& g) noexcept {
    return {_mm_set1_ps(g.ll), _mm_set1_ps(g.lr), _mm_set1_ps(g.rl), _mm_set1_ps(g.rr)};
}

// GainRamp::at() for the tick's samples j .. j + 3.
inline Gains4 ramp4(const GainRamp& ramp, int j) noexcept {
    const __m128 k =
        _mm_cvtepi32_ps(_mm_add_epi32(_mm_set1_epi32(j + 1), _mm_setr_epi32(0, 1, 2, 3)));
    const auto at = [k](float start, float step) {
        return _mm_add_ps(_mm_set1_ps(start), _mm_mul_ps(_mm_set1_ps(step), k));
    };
    const TapUnit::Gains& s = ramp.start;
    const TapUnit::Gains& d = ramp.step;
    return {at(s.ll, d.ll), at(s.lr, d.lr), at(s.rl, d.rl), at(s.rr, d.rr)};
}

// The outputs k.ll·l + k.rl·r and k.lr·l + k.rr·r.
inline Frames4 through(const Gains4& k, const Frames4& f) noexcept {
    return {_mm_add_ps(_mm_mul_ps(k.ll, f.l), _mm_mul_ps(k.rl, f.r)),
            _mm_add_ps(_mm_mul_ps(k.lr, f.l), _mm_mul_ps(k.rr, f.r))};
}

template <bool Add>
inline void store4(float* L, float* R, int i, const Frames4& out) noexcept {
    if (Add) {
        _mm_storeu_ps(L + i, _mm_add_ps(_mm_loadu_ps(L + i), out.l));
        _mm_storeu_ps(R + i, _mm_add_ps(_mm_loadu_ps(R + i), out.r));
    } else {
        _mm_storeu_ps(L + i, out.l);
        _mm_storeu_ps(R + i, out.r);
    }
}

#endif

// A contiguous stretch of frames through constant or ramping gains.
template <bool Add, bool Ramp, typename Frame>
QUEVRIN_INLINE inline void mix_frames(const Frame* __restrict f, float* __restrict L,
                                      float* __restrict R, int count, int j0,
                                      const TapUnit::Gains& g, const GainRamp& ramp) {
    for (int i = 0; i < count; ++i) {
        const TapUnit::Gains k = Ramp ? ramp.at(j0 + i) : g;
        store<Add>(L, R, i, k.ll * f[i].l + k.rl * f[i].r, k.lr * f[i].l + k.rr * f[i].r);
    }
}

// A glide: frames interpolated at a read position moving by `speed` per
// frame (32.32 fixed point).
template <bool Add, bool Ramp, typename Frame>
void mix_glide(const Frame* __restrict buf, int mask, std::uint64_t p, std::uint64_t speed,
               float* __restrict L, float* __restrict R, int count, int j0, const TapUnit::Gains& g,
               const GainRamp& ramp) {
    int i = 0;
#if defined(__SSE2__)
    const Gains4 fixed = constant4(g);
    for (; i + 4 <= count; i += 4) {
        int index[4];
        alignas(16) float frac[4];
        for (int k = 0; k < 4; ++k, p += speed) {
            index[k] = int(p >> 32) & mask;
            frac[k] = float(std::uint32_t(p));
        }
        const Frames4 a = split(two_frames(buf[index[0]], buf[index[1]]),
                                two_frames(buf[index[2]], buf[index[3]]));
        const Frames4 b = split(two_frames(buf[(index[0] + 1) & mask], buf[(index[1] + 1) & mask]),
                                two_frames(buf[(index[2] + 1) & mask], buf[(index[3] + 1) & mask]));
        const __m128 t = _mm_mul_ps(_mm_load_ps(frac), _mm_set1_ps(1.0f / 4294967296.0f));
        const Frames4 f{_mm_add_ps(a.l, _mm_mul_ps(_mm_sub_ps(b.l, a.l), t)),
                        _mm_add_ps(a.r, _mm_mul_ps(_mm_sub_ps(b.r, a.r), t))};
        store4<Add>(L, R, i, through(Ramp ? ramp4(ramp, j0 + i) : fixed, f));
    }
#endif
    for (; i < count; ++i, p += speed) {
        const int index = int(p >> 32) & mask;
        const float frac = float(std::uint32_t(p)) * (1.0f / 4294967296.0f);
        const Frame& a = buf[index];
        const Frame& b = buf[(index + 1) & mask];
        const float l = a.l + (b.l - a.l) * frac;
        const float r = a.r + (b.r - a.r) * frac;
        const TapUnit::Gains k = Ramp ? ramp.at(j0 + i) : g;
        store<Add>(L, R, i, k.ll * l + k.rl * r, k.lr * l + k.rr * r);
    }
}

// A jump's crossfade over a stretch: the old delay's frames through the
// tick's start gains fade out, the new delay's through its gains fade in.
template <bool Add, typename Frame>
void mix_jump(const Frame* __restrict old_frames, const Frame* __restrict new_frames,
              float* __restrict L, float* __restrict R, int count, int j0, const TapUnit::Gains& s,
              const TapUnit::Gains& g) {
    for (int i = 0; i < count; ++i) {
        const float in = float(j0 + i) / tick_length;
        const float out = 1.0f - in;
        const Frame& fo = old_frames[i];
        const Frame& fn = new_frames[i];
        const float l = out * (s.ll * fo.l + s.rl * fo.r) + in * (g.ll * fn.l + g.rl * fn.r);
        const float r = out * (s.lr * fo.l + s.rr * fo.r) + in * (g.lr * fn.l + g.rr * fn.r);
        store<Add>(L, R, i, l, r);
    }
}

} // namespace

// A delay change the tap reads gliding, at a speed within -1.25..1.25; a
// larger one crossfades over the tick.
bool StereoTapDelay::glides(int t) const noexcept {
    const TapUnit& tap = taps_[t];
    return tap.delay() != tap.previous_delay() && std::abs(1.0 - tap.glide_increment()) <= 1.25;
}

// The glide's read position at this block's start, 32.32 fixed point.
std::uint64_t StereoTapDelay::glide_position(int t) const noexcept {
    return glide_start_[t] + std::uint64_t(std::int64_t(processed_) * glide_speed_[t]);
}

// The stretches a tap reads in this block, told to the memory before: at its
// delay, from the first to the last position of its glide, or at both delays
// of its crossfade.
void StereoTapDelay::announce_reads(int t, int count) noexcept {
    const TapUnit& tap = taps_[t];
    const int d = tap.delay();
    const int dp = tap.previous_delay();
    if (glides(t)) {
        const std::int64_t travel = std::int64_t(count - 1) * glide_speed_[t];
        const std::uint64_t start = glide_position(t);
        const std::uint64_t from = travel >= 0 ? start : start + std::uint64_t(travel);
        buffer_.will_read(int((from >> 32) & std::uint64_t(mask_)),
                          int((std::abs(travel) >> 32) + 2));
        return;
    }
    if (d != dp)
        buffer_.will_read(w_ - dp, count);
    buffer_.will_read(w_ - d, count);
}

template <bool Add>
void StereoTapDelay::mix_tap(int t, float* L, float* R, int count) noexcept {
    const TapUnit& tap = taps_[t];
    const Frame* buf = buffer_.data();
    const int mask = mask_;
    const TapUnit::Gains g = tap.gains();
    const GainRamp ramp{tap.start_gains(), tap.gain_steps()};
    const bool ramping = tap.is_ramping();
    const int j0 = processed_;
    const int d = tap.delay();
    const int dp = tap.previous_delay();

    if (d == dp) {
        // At most two stretches: up to the buffer's end, then from its start.
        const int start = (w_ - d) & mask;
        const int first = std::min(count, buffer_size() - start);
        avx2::run([&]() QUEVRIN_INLINE {
            if (ramping) {
                mix_frames<Add, true>(buf + start, L, R, first, j0, g, ramp);
                mix_frames<Add, true>(buf, L + first, R + first, count - first, j0 + first, g,
                                      ramp);
            } else {
                mix_frames<Add, false>(buf + start, L, R, first, j0, g, ramp);
                mix_frames<Add, false>(buf, L + first, R + first, count - first, j0 + first, g,
                                       ramp);
            }
        });
        return;
    }
    if (glides(t)) {
        const std::uint64_t p = glide_position(t);
        const auto glide = ramping ? mix_glide<Add, true, Frame> : mix_glide<Add, false, Frame>;
        glide(buf, mask, p, std::uint64_t(glide_speed_[t]), L, R, count, j0, g, ramp);
        return;
    }
    // Jump: over the tick, fade the old delay out and the new one in, in
    // stretches where neither read position wraps.
    const int old_start = w_ - dp;
    const int new_start = w_ - d;
    for (int i = 0; i < count;) {
        const int o = (old_start + i) & mask;
        const int n = (new_start + i) & mask;
        const int run = std::min({count - i, buffer_size() - o, buffer_size() - n});
        mix_jump<Add>(buf + o, buf + n, L + i, R + i, run, j0 + i, ramp.start, g);
        i += run;
    }
}

} // namespace effect
