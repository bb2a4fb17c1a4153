#include "effect/stages/DistortionStage.h"

#include "effect/Avx2.h"
#include "effect/stages/LanePair.h"
#include "mppi/ChangeMark.h"

#include <algorithm>
#include <cmath>

namespace effect {

namespace {

constexpr int dist_attribute = 2;
// The RMS the compensated output never exceeds.
constexpr float level_ceiling = 0.75f;
// Below this output RMS the block counts as silent.
constexpr float silence = 1e-9f;
// A 20 Hz corner for both level detectors.
constexpr float detector_time = 0.05f;
// Samples over which a new curve setting replaces the previous one.
constexpr float crossfade_length = 256.0f;

} // namespace

void DistortionStage::Curve::start_crossfade(float new_gain) noexcept {
    falling = gain;
    fall = gain / crossfade_length;
    gain = new_gain;
    rising = 0.0f;
    rise = new_gain / crossfade_length;
}

DistortionStage::DistortionStage() : curves_(&DistortionCurves::instance()) {}

void DistortionStage::init(int line_index, mppi::PluginInternal& plugin) {
    type_param_ = std::make_shared<ParamDlyDistType>();
    type_param_->init_numbered(0.0, dist_attribute, line_index);
    type_param_->set_target(this);
    plugin.add_param(type_param_);
    auto level = std::make_shared<ParamDlyDistLvl>();
    level->init_numbered(0.0, dist_attribute, line_index);
    level_param_.set_target(this);
    level_param_.init(level, plugin);
    input_detector_.set_time(detector_time);
    output_detector_.set_time(detector_time);
    take_values();
    update_curves(false);
}

void DistortionStage::set_defaults() {
    type_param_->set_internal(0.0);
    level_param_.set_defaults(0.0);
    reset();
}

void DistortionStage::reset() noexcept {
    input_detector_.clear();
    output_detector_.clear();
    level_param_.reset();
    take_values();
    comp_ = prev_comp_ = 1.0f;
    update_curves(false);
    dist_changed_.store(false, std::memory_order_relaxed);
}

void DistortionStage::set_sample_rate(float rate) {
    level_param_.set_sample_rate(rate);
    input_detector_.set_sample_rate(rate);
    output_detector_.set_sample_rate(rate);
}

void DistortionStage::tempo_changed() noexcept {
    level_param_.tempo_changed();
}

void DistortionStage::tick(int n) noexcept {
    prev_type_ = type_;
    prev_level_ = level_;
    prev_drive_ = drive_;
    prev_scale_ = scale_;
    level_param_.tick(n);
    if (mppi::take_change(dist_changed_)) {
        take_values();
        update_curves(true);
    }
}

void DistortionStage::notify(mppi::NotifierInterface*) noexcept {
    dist_changed_.store(true, std::memory_order_relaxed);
}

void DistortionStage::take_values() noexcept {
    type_ = float(type_param_->get_internal());
    level_ = float(level_param_.get_value());
}

// At level 0 the curves are 4·tanh(x/4) and 4·sin(x/4), close to x for small
// signals; the gains keep that unity slope as the drive rises.
void DistortionStage::update_curves(bool crossfade) noexcept {
    drive_ = std::exp2(8.0f * level_ - 2.0f);
    scale_ = 4.0f * level_ + 0.25f;
    const float gain_a = (1.0f - type_) * std::max(1.0f / drive_, 1.0f);
    const float gain_b = type_ * std::max(1.0f / scale_, 1.0f);
    if (!crossfade) {
        prev_type_ = type_;
        prev_level_ = level_;
        prev_drive_ = drive_;
        prev_scale_ = scale_;
        overdrive_ = {gain_a, 0.0f, 0.0f, gain_a, 0.0f};
        puncher_ = {gain_b, 0.0f, 0.0f, gain_b, 0.0f};
        return;
    }
    if (type_ == prev_type_ && level_ == prev_level_)
        return;
    overdrive_.start_crossfade(gain_a);
    puncher_.start_crossfade(gain_b);
}

void DistortionStage::process(float* block, int count) noexcept {
    prev_comp_ = comp_;
    const float a = input_detector_.run(block, count);
    float b = a;
    if (level_ != 0.0f || prev_level_ != 0.0f) {
        if (level_ != prev_level_)
            shape<true>(block, count);
        else
            shape<false>(block, count);
        b = output_detector_.run(block, count);
    } else {
        // The block passes as it is, so the output's level is the input's.
        // Left behind instead, the output detector would hold the level of
        // the last shaped block, maybe seconds old and far quieter, and the
        // gain that sets the output level against it would soar once shaping
        // resumed: a hundredfold on the loop's next block.
        output_detector_.take_state(input_detector_);
    }
    comp_ = std::abs(b) >= silence ? std::min(a, level_ceiling) / b : 0.0f;
    apply_compensation(block, count);
}

template <bool Changing>
void DistortionStage::shape(float* block, int count) noexcept {
    if (type_ != prev_type_ || (type_ != 0.0f && type_ != 1.0f))
        shape_with<true, true, Changing>(block, count);
    else if (type_ == 0.0f)
        shape_with<true, false, Changing>(block, count);
    else
        shape_with<false, true, Changing>(block, count);
}

namespace {

#if defined(__SSE2__)
// A crossfade's two gains side by side, [falling, rising, 0, 0], with their
// steps [-fall, rise, 0, 0]: each moves one sample at a time as the
// one-sample form moves it (adding the negated fall is subtracting it).
struct Fade {
    __m128 gains, steps;
};

// Four samples of a crossfade: the previous setting's falling gain on its
// curve plus the new setting's rising gain on its own; the gains move on by
// four samples.
inline __m128 fade4(Fade& fade, __m128 old_curve, __m128 new_curve) noexcept {
    const __m128 g0 = fade.gains;
    const __m128 g1 = _mm_add_ps(g0, fade.steps);
    const __m128 g2 = _mm_add_ps(g1, fade.steps);
    const __m128 g3 = _mm_add_ps(g2, fade.steps);
    fade.gains = _mm_add_ps(g3, fade.steps);
    const __m128 early = _mm_unpacklo_ps(g0, g1); // f0 f1 r0 r1
    const __m128 late = _mm_unpacklo_ps(g2, g3);  // f2 f3 r2 r3
    return _mm_add_ps(_mm_mul_ps(_mm_movelh_ps(early, late), old_curve),
                      _mm_mul_ps(_mm_movehl_ps(late, early), new_curve));
}

// The vector loops' settings, each in every lane, and their running fades.
struct Shaping {
    __m128 drive, prev_drive, fold, prev_fold, od_gain, pu_gain;
    Fade od_fade, pu_fade;
};

// Four samples: the curves, then their gains, in one pass, so that the
// gains' sample-by-sample steps overlap the curves' work.
template <bool UseOverdrive, bool UsePuncher, bool Changing>
inline __m128 shape4(const DistortionCurves& c, __m128 x, Shaping& s) noexcept {
    __m128 y = _mm_setzero_ps();
    if constexpr (Changing) {
        if constexpr (UseOverdrive)
            y = _mm_add_ps(
                y, fade4(s.od_fade, c.overdrive4(x, s.prev_drive), c.overdrive4(x, s.drive)));
        if constexpr (UsePuncher)
            y = _mm_add_ps(y, fade4(s.pu_fade, c.puncher4(x, s.prev_fold), c.puncher4(x, s.fold)));
    } else {
        if constexpr (UseOverdrive)
            y = _mm_add_ps(y, _mm_mul_ps(s.od_gain, c.overdrive4(x, s.drive)));
        if constexpr (UsePuncher)
            y = _mm_add_ps(y, _mm_mul_ps(s.pu_gain, c.puncher4(x, s.fold)));
    }
    return y;
}

#if defined(QUEVRIN_HAS_AVX2)
// Eight samples at a time, the curves in eight lanes and the rest as shape4
// does it on each half, so that every sample comes out as there; returns the
// samples done.
template <bool UseOverdrive, bool UsePuncher, bool Changing>
QUEVRIN_AVX2 int shape8(const DistortionCurves& c, float* __restrict block, int count,
                        Shaping& s) noexcept {
    const __m256 drive = _mm256_broadcastss_ps(s.drive);
    const __m256 prev_drive = _mm256_broadcastss_ps(s.prev_drive);
    const __m256 fold = _mm256_broadcastss_ps(s.fold);
    const __m256 prev_fold = _mm256_broadcastss_ps(s.prev_fold);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256 x = _mm256_loadu_ps(block + i);
        // The curves' halves: [half][overdrive, its previous, puncher, its previous].
        __m128 curves[2][4] = {};
        const auto split = [&curves](int k, __m256 v) QUEVRIN_AVX2 {
            curves[0][k] = _mm256_castps256_ps128(v);
            curves[1][k] = _mm256_extractf128_ps(v, 1);
        };
        if constexpr (UseOverdrive) {
            split(0, c.overdrive8(x, drive));
            if constexpr (Changing)
                split(1, c.overdrive8(x, prev_drive));
        }
        if constexpr (UsePuncher) {
            split(2, c.puncher8(x, fold));
            if constexpr (Changing)
                split(3, c.puncher8(x, prev_fold));
        }
        for (int half = 0; half < 2; ++half) {
            const __m128* h = curves[half];
            __m128 y = _mm_setzero_ps();
            if constexpr (Changing) {
                if constexpr (UseOverdrive)
                    y = _mm_add_ps(y, fade4(s.od_fade, h[1], h[0]));
                if constexpr (UsePuncher)
                    y = _mm_add_ps(y, fade4(s.pu_fade, h[3], h[2]));
            } else {
                if constexpr (UseOverdrive)
                    y = _mm_add_ps(y, _mm_mul_ps(s.od_gain, h[0]));
                if constexpr (UsePuncher)
                    y = _mm_add_ps(y, _mm_mul_ps(s.pu_gain, h[2]));
            }
            _mm_storeu_ps(block + i + 4 * half, y);
        }
    }
    return i;
}
#endif
#endif

} // namespace

// While the level changes, the previous setting's curves fade out under the
// new ones; otherwise the curves run with their gains.
template <bool UseOverdrive, bool UsePuncher, bool Changing>
void DistortionStage::shape_with(float* __restrict block, int count) noexcept {
    // Locals keep the gains in registers; the block is apart from the curves
    // and the stage, so its stores need not reload either.
    const DistortionCurves& c = *curves_;
    const float fold = scale_ * DistortionCurves::fold_units_per_radian;
    const float prev_fold = prev_scale_ * DistortionCurves::fold_units_per_radian;
    Curve od = overdrive_;
    Curve pu = puncher_;
    int i = 0;
#if defined(__SSE2__)
    Shaping s{_mm_set1_ps(drive_),
              _mm_set1_ps(prev_drive_),
              _mm_set1_ps(fold),
              _mm_set1_ps(prev_fold),
              _mm_set1_ps(od.gain),
              _mm_set1_ps(pu.gain),
              {_mm_setr_ps(od.falling, od.rising, 0.0f, 0.0f),
               _mm_setr_ps(-od.fall, od.rise, 0.0f, 0.0f)},
              {_mm_setr_ps(pu.falling, pu.rising, 0.0f, 0.0f),
               _mm_setr_ps(-pu.fall, pu.rise, 0.0f, 0.0f)}};
#if defined(QUEVRIN_HAS_AVX2)
    if (avx2::available())
        i = shape8<UseOverdrive, UsePuncher, Changing>(c, block, count, s);
#endif
    for (; i + 4 <= count; i += 4)
        _mm_storeu_ps(block + i,
                      shape4<UseOverdrive, UsePuncher, Changing>(c, _mm_loadu_ps(block + i), s));
    if constexpr (Changing) {
        od.falling = lane_pair::first(s.od_fade.gains);
        od.rising = lane_pair::second(s.od_fade.gains);
        pu.falling = lane_pair::first(s.pu_fade.gains);
        pu.rising = lane_pair::second(s.pu_fade.gains);
    }
#endif
    for (; i < count; ++i) {
        const float x = block[i];
        float y = 0.0f;
        if constexpr (Changing) {
            // The previous setting fades out under the new one.
            if constexpr (UseOverdrive) {
                y +=
                    od.falling * c.overdrive(prev_drive_ * x) + od.rising * c.overdrive(drive_ * x);
                od.falling -= od.fall;
                od.rising += od.rise;
            }
            if constexpr (UsePuncher) {
                y += pu.falling * c.puncher(prev_fold * x) + pu.rising * c.puncher(fold * x);
                pu.falling -= pu.fall;
                pu.rising += pu.rise;
            }
        } else {
            if constexpr (UseOverdrive)
                y += od.gain * c.overdrive(drive_ * x);
            if constexpr (UsePuncher)
                y += pu.gain * c.puncher(fold * x);
        }
        block[i] = y;
    }
    overdrive_ = od;
    puncher_ = pu;
}

namespace {

// The compensation's gain moving from `from` by `step` per sample, or held.
QUEVRIN_INLINE inline void ramp_gain(float* __restrict block, int count, float from,
                                     float step) noexcept {
    for (int i = 0; i < count; ++i)
        block[i] *= from + step * float(i + 1);
}

QUEVRIN_INLINE inline void hold_gain(float* __restrict block, int count, float gain) noexcept {
    for (int i = 0; i < count; ++i)
        block[i] *= gain;
}

} // namespace

void DistortionStage::apply_compensation(float* block, int count) noexcept {
    const float from = prev_comp_, to = comp_;
    if (to != from && to != 0.0f && from != 0.0f) {
        const float step = (to - from) / float(count);
        avx2::run([&]() QUEVRIN_INLINE { ramp_gain(block, count, from, step); });
    } else if (to == 0.0f) {
        std::fill(block, block + count, 0.0f);
    } else if (to != 1.0f) {
        avx2::run([&]() QUEVRIN_INLINE { hold_gain(block, count, to); });
    }
}

} // namespace effect
