#include "effect/DelayLine.h"

#include "effect/DelayBufferSize.h"
#include "mppi/ChangeMark.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace effect {

namespace {

constexpr double fixed_one = 4294967296.0; // 2^32: positions are 32.32 fixed point

} // namespace

void DelayLine::init(int index, mppi::PluginInternal& plugin, DelayMixer& mixer) {
    index_ = index;
    mixer_ = &mixer;
    time_unit_ = &plugin.get_time_unit();

    level_ = std::make_shared<ParamDlyLvl>();
    level_->init_numbered(1.0, 1, index);
    level_->set_target(this);
    plugin.add_param(level_);

    auto pan = std::make_shared<ParamDlyPan>();
    pan->init_numbered(0.0, 3, index);
    pan_.init(pan, plugin);
    pan_.set_target(this);

    auto time = std::make_shared<ParamDlyTime>(*time_unit_);
    time->init_numbered(0.75, 4, index);
    time_.init(time, plugin);
    time_.set_target(this);

    auto feedback = std::make_shared<ParamDlyFdbk>();
    feedback->init_numbered(0.5, 1, index);
    feedback_.init(feedback, plugin);
    feedback_.set_target(this);

    filter_.init(index, plugin);
    distortion_.init(index, plugin);
    shelf_.init(index, plugin);

    allocate();
    push_values();
    d_current_ = d_;
}

void DelayLine::set_defaults(bool two_line_mode) {
    level_->set_internal(1.0);
    pan_.set_defaults(two_line_mode ? (index_ == 0 ? -1.0 : 1.0) : 0.0);
    time_.set_defaults(0.75);
    feedback_.set_defaults(0.5);
    filter_.set_defaults();
    distortion_.set_defaults();
    shelf_.set_defaults();
    reset();
}

void DelayLine::reset() noexcept {
    pan_.reset();
    time_.reset();
    feedback_.reset();
    params_changed_.store(false, std::memory_order_relaxed);
    push_values();
    d_current_ = d_;
    glide_start_ = false;
    tick_offset_ = 0;
    buffer_.clear();
    w_ = 0;
    filter_.reset();
    distortion_.reset();
    shelf_.reset();
}

void DelayLine::set_sample_rate(float rate) {
    sample_rate_ = rate;
    pan_.set_sample_rate(rate);
    time_.set_sample_rate(rate);
    feedback_.set_sample_rate(rate);
    filter_.set_sample_rate(rate);
    distortion_.set_sample_rate(rate);
    shelf_.set_sample_rate(rate);
    buffer_.clear();
    w_ = 0;
    allocate();
    // The delay in samples follows the rate at once.
    push_values();
    d_current_ = d_;
    glide_start_ = false;
}

void DelayLine::allocate() {
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

void DelayLine::tempo_changed() noexcept {
    pan_.tempo_changed();
    time_.tempo_changed();
    feedback_.tempo_changed();
    filter_.tempo_changed();
    distortion_.tempo_changed();
    // The new delay is taken at the end of the next tick, from where the line
    // reads now: it glides or crossfades like any other change.
    params_changed_.store(true, std::memory_order_relaxed);
}

void DelayLine::notify(mppi::NotifierInterface*) noexcept {
    params_changed_.store(true, std::memory_order_relaxed);
}

void DelayLine::push_values() noexcept {
    mixer_->set_level(index_, float(level_->get_internal()));
    mixer_->set_pan(index_, float(pan_.get_value()));
    mixer_->set_feedback(index_, float(feedback_.get_value()));
    time_seconds_ = float(time_unit_->beats_to_sec(time_.get_value()));
    // Halves round upward: 16537.5 samples is 16538. A delay is at least one
    // sample, so that every run makes progress.
    const double samples =
        std::floor(time_unit_->beats_to_sec(time_.get_value()) * double(sample_rate_) + 0.5);
    d_ = std::max(1, static_cast<int>(std::min(samples, double(dmax_))));
    if (d_ != d_current_) {
        glide_start_ = true;
        glide_increment_ = double(d_ - d_current_) / block_size;
    }
}

void DelayLine::tick() noexcept {
    d_current_ = d_;
    tick_offset_ = 0;
    pan_.tick(block_size);
    time_.tick(block_size);
    feedback_.tick(block_size);
    filter_.tick(block_size);
    distortion_.tick(block_size);
    shelf_.tick();
    if (mppi::take_change(params_changed_))
        push_values();
    if (d_ != d_current_) {
        // Read positions of the glide, counted from the tick's start so that
        // any cut of the tick into runs reads the same positions.
        glide_start_position_ = std::uint64_t((w_ - d_current_) & mask_) << 32;
        glide_speed_ = std::llround((1.0 - glide_increment_) * fixed_one);
    }
}

int DelayLine::max_run() const noexcept {
    const int n = buffer_size();
    int run = std::min({n - w_, n - ((w_ - d_) & mask_), d_});
    if (d_ != d_current_)
        run = std::min({run, n - ((w_ - d_current_) & mask_), d_current_});
    return run;
}

namespace {

// Every sample within ±output_ceiling; four at a time where there are vector
// registers.
void hold_ceiling(float* block, int count) noexcept {
    const float c = DelayLine::output_ceiling;
    int i = 0;
#if defined(__SSE2__)
    const __m128 high = _mm_set1_ps(c), low = _mm_set1_ps(-c);
    for (; i + 4 <= count; i += 4)
        _mm_storeu_ps(block + i, _mm_min_ps(_mm_max_ps(_mm_loadu_ps(block + i), low), high));
#endif
    for (; i < count; ++i)
        block[i] = std::min(c, std::max(-c, block[i]));
}

} // namespace

const float* DelayLine::read(int count) noexcept {
    announce(count);
    filter_.read(out_, fetch(count), count);
    distortion_.process(out_, count);
    shelf_.process(out_, count);
    hold_ceiling(out_, count);
    advance(count);
    return out_;
}

void DelayLine::read_pair(DelayLine& a, DelayLine& b, int count) noexcept {
    a.announce(count);
    b.announce(count);
    if (a.gliding() && b.gliding()) {
        // Both reads are made inside the filters' loop, where the
        // interpolation overlaps the recursions' wait on their last outputs.
        FilterStage::read_pair_from(a.filter_, a.out_, a.glide(), b.filter_, b.out_, b.glide(),
                                    count);
    } else {
        const float* src_a = a.fetch(count);
        const float* src_b = b.fetch(count);
        FilterStage::read_pair(a.filter_, a.out_, src_a, b.filter_, b.out_, src_b, count);
    }
    a.distortion_.process(a.out_, count);
    b.distortion_.process(b.out_, count);
    ShelfStage::process_pair(a.shelf_, a.out_, b.shelf_, b.out_, count);
    hold_ceiling(a.out_, count);
    hold_ceiling(b.out_, count);
    a.advance(count);
    b.advance(count);
}

// A delay change within the glide's speeds is read gliding; a larger one
// crossfades the buffer once, at its first read.
bool DelayLine::gliding() const noexcept {
    return d_ != d_current_ && std::abs(1.0 - glide_increment_) <= 2.0;
}

// Positions counted from the tick's start, so that any cut of the tick into
// runs reads the same positions.
DelayLine::GlideRead DelayLine::glide() const noexcept {
    return {buffer_.data(), std::uint64_t(mask_),
            glide_start_position_ + std::uint64_t(std::int64_t(tick_offset_) * glide_speed_),
            std::uint64_t(glide_speed_)};
}

// The stretches the run reads and writes, told to the memory before: the
// mixer's write at w, then the gliding read from its first to its last
// position, or the plain read and a pending crossfade's two stretches.
void DelayLine::announce(int count) noexcept {
    buffer_.will_write(w_, count);
    if (gliding()) {
        const std::int64_t travel = std::int64_t(count - 1) * glide_speed_;
        const GlideRead read = glide();
        const std::uint64_t from = travel >= 0 ? read.start : read.start + std::uint64_t(travel);
        buffer_.will_read(int((from >> 32) & read.mask), int((std::abs(travel) >> 32) + 2));
        return;
    }
    if (d_ != d_current_ && glide_start_) {
        buffer_.will_read(w_ - d_current_ - 255, 511);
        buffer_.will_write(w_ - d_ - 255, 511);
    }
    buffer_.will_read(w_ - d_, count);
}

// The delayed samples of the run, before the filter: the gliding read
// interpolated into out_, or the buffer itself.
const float* DelayLine::fetch(int count) noexcept {
    if (gliding()) {
        const GlideRead read = glide();
        for (int i = 0; i < count; ++i)
            out_[i] = read(i);
        return out_;
    }
    if (d_ != d_current_ && glide_start_) {
        crossfade();
        glide_start_ = false;
    }
    return buffer_.data() + ((w_ - d_) & mask_);
}

void DelayLine::advance(int count) noexcept {
    w_ = (w_ + count) & mask_;
    tick_offset_ += count;
}

namespace {

// One stretch of the crossfade, k = k0 .. k0 + n - 1 from the new read
// position: the old position's samples weigh 1 - |k| / length. Run in the
// crossfade's direction, so an overlap of the two stretches reads each old
// sample before it is overwritten.
template <bool Ahead>
void blend_stretch(float* in_place, const float* old, int k0, int n, float length,
                   bool forward) noexcept {
    const auto blend = [&](int i) {
        const int k = k0 + i;
        const float old_weight = Ahead ? 1.0f - float(k) / length : 1.0f - float(-k) / length;
        in_place[i] = old_weight * old[i] + (1.0f - old_weight) * in_place[i];
    };
    int done = 0;
#if defined(__SSE2__)
    // Four samples at once, in groups taken in the same direction: the old
    // position lies away from the direction of travel, so no sample of a
    // group reads what another of the group writes, and reading the group
    // before writing it gives what one sample after the other gives.
    const __m128 one = _mm_set1_ps(1.0f), len = _mm_set1_ps(length);
    const auto blend4 = [&](int i) {
        const __m128i k = _mm_add_epi32(_mm_set1_epi32(k0 + i), _mm_setr_epi32(0, 1, 2, 3));
        const __m128 distance = _mm_cvtepi32_ps(Ahead ? k : _mm_sub_epi32(_mm_setzero_si128(), k));
        const __m128 old_weight = _mm_sub_ps(one, _mm_div_ps(distance, len));
        const __m128 mixed =
            _mm_add_ps(_mm_mul_ps(old_weight, _mm_loadu_ps(old + i)),
                       _mm_mul_ps(_mm_sub_ps(one, old_weight), _mm_loadu_ps(in_place + i)));
        _mm_storeu_ps(in_place + i, mixed);
    };
    for (; done + 4 <= n; done += 4)
        blend4(forward ? done : n - done - 4);
#endif
    if (forward) {
        for (int i = done; i < n; ++i)
            blend(i);
    } else {
        for (int i = n - done - 1; i >= 0; --i)
            blend(i);
    }
}

} // namespace

void DelayLine::crossfade() noexcept {
    // Around the new read position, blend in what the old position would have
    // played: full weight at the position itself, fading out 256 samples to
    // either side. The loop runs away from the old position so that samples
    // it still has to read are not yet overwritten.
    // A new delay shorter than 256 samples would carry the blend up to the
    // write position and past it, where the line's new input replaces it
    // before it is read: the read would step from the blend onto the new
    // input. That side fades out over the delay instead, so the blend ends
    // where the new input begins.
    float* buf = buffer_.data();
    const int rn = w_ - d_;
    const int ro = w_ - d_current_;
    const int ahead = std::min(256, d_);
    const bool forward = d_ > d_current_;
    // Stretches where neither position wraps, each with one weight formula:
    // k < 0 fades over 256 samples, k >= 0 over `ahead`.
    struct Stretch {
        int k, n;
    };
    Stretch stretches[6];
    int count = 0;
    for (int k = -255; k < ahead;) {
        const int end = k < 0 ? 0 : ahead;
        const int n = std::min(
            {end - k, buffer_size() - ((rn + k) & mask_), buffer_size() - ((ro + k) & mask_)});
        stretches[count++] = {k, n};
        k += n;
    }
    for (int s = 0; s < count; ++s) {
        const Stretch& st = stretches[forward ? s : count - 1 - s];
        float* in_place = buf + ((rn + st.k) & mask_);
        const float* old = buf + ((ro + st.k) & mask_);
        if (st.k < 0)
            blend_stretch<false>(in_place, old, st.k, st.n, 256.0f, forward);
        else
            blend_stretch<true>(in_place, old, st.k, st.n, float(ahead), forward);
    }
}

} // namespace effect
