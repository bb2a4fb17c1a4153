#include "effect/Algo.h"

#include "effect/DenormalGuard.h"
#include "effect/SampleRateLimit.h"
#include "mppi/ChangeMark.h"
#include "mppi/HostDspInterface.h"
#include "mppi/PropertyKeys.h"
#include "mppi/preset/ProgramSlot.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace effect {

Algo::Algo()
    : in_bus_{"Input", {"Left input", "Right input"}}, out_bus_{"Output",
                                                                {"Left output", "Right output"}} {}

Algo::~Algo() = default;

void Algo::set_host(mppi::HostDspInterface* host) {
    if (host != host_.get())
        host_.reset(host);
}

void Algo::init() {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    mppi::TimeUnit& unit = get_time_unit();
    unit.set_unit_mode(mppi::TimeUnit::beats);
    if (host_)
        host_->init_notice();

    flags_ = std::make_shared<ParamFlags>(unit);
    flags_->init(64, 1);
    flags_->set_target(this);
    add_param(flags_);
    tempo_ = std::make_shared<ParamTempo>(unit);
    tempo_->init(120, 1);
    tempo_->set_target(this);
    add_param(tempo_);
    dry_level_ = std::make_shared<ParamDryLvl>();
    dry_level_->init(1.0, 1);
    dry_level_->set_target(this);
    add_param(dry_level_);
    auto separation = std::make_shared<ParamFdbkSeparation>();
    separation->init(0.0, 3);
    separation_.init(separation, *this);
    separation_.set_target(this);

    // A host that supplies the tempo keeps it out of programs.
    tempo_owned_ = !host_ || host_->get_num_property(mppi::property::can_tempo) == 0.0;

    taps_.init(*this);
    lines_[0].init(0, *this, mixer_);
    lines_[1].init(1, *this, mixer_);
    mixer_.reset();
    countdown_ = 0;
    flags_changed_.store(true, std::memory_order_relaxed);
}

void Algo::reset() {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    flags_->set_internal(64);
    tempo_->set_internal(120);
    dry_level_->set_internal(1.0);
    separation_.set_defaults(0.0);
    taps_.set_defaults();
    lines_[0].set_defaults(two_line_);
    lines_[1].set_defaults(two_line_);
    mixer_.reset();
    request_reset();
}

void Algo::set_sample_rate(float rate) {
    QUEVRIN_RESTART_AUDIO_THREAD(threads_);
    // Hosts refuse such a rate before it gets here (SampleRateLimit); one
    // that arrives all the same leaves the engine at the rate it has.
    if (!SampleRateLimit::serves(rate))
        return;
    sample_rate_ = rate;
    separation_.set_sample_rate(rate);
    taps_.set_sample_rate(rate);
    lines_[0].set_sample_rate(rate);
    lines_[1].set_sample_rate(rate);
}

double Algo::get_num_property(const char* key) {
    if (key == nullptr)
        return 0.0;
    if (std::strcmp(key, mppi::property::can_mono) == 0)
        return 1.0;
    if (std::strcmp(key, mppi::property::plugin_version) == 0)
        return 1.03;
    return 0.0; // "can_scaled_val" included: the host converts integer samples
}

std::string Algo::get_str_property(const char* key) {
    if (key != nullptr && std::strcmp(key, mppi::property::plugin_name) == 0)
        return "Quevrin";
    return "";
}

void Algo::request_reset() {
    reset_requested_.store(true, std::memory_order_release);
}

void Algo::set_tempo(float bpm) noexcept {
    // Folded into 60..240 by octaves; a tempo that is not positive cannot be
    // folded and leaves the tempo as it is.
    double t = bpm;
    if (!(t > 0.0) || !std::isfinite(t))
        return;
    while (t < ParamTempo::min_bpm)
        t *= 2.0;
    while (t > ParamTempo::max_bpm)
        t /= 2.0;
    tempo_->set_internal(t);
}

void Algo::load_prog(const mppi::ProgramSlot& program) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    // A damaged program may hold fewer values, or values that are not
    // normalized: apply what is there, limited to [0, 1].
    const int count = std::min(nbr_params, program.get_nbr_values());
    for (int i = 0; i < count; ++i) {
        if (i == 1 && !tempo_owned_)
            continue;
        const float v = program.get_value(i);
        if (!std::isfinite(v))
            continue;
        const float n = std::clamp(v, 0.0f, 1.0f);
        mppi::NormalizedParamInterface* p = param_at(i);
        if (n != p->get_normalized())
            p->set_normalized(n);
    }
}

void Algo::store_prog(mppi::ProgramSlot& program) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    program.set_nbr_values(nbr_params);
    for (int i = 0; i < nbr_params; ++i)
        program.set_value(i, param_at(i)->get_normalized());
}

void Algo::notify(mppi::NotifierInterface* source) noexcept {
    if (source == tempo_.get())
        tempo_changed_.store(true, std::memory_order_relaxed);
    flags_changed_.store(true, std::memory_order_relaxed);
}

void Algo::apply_flags() noexcept {
    if (mppi::take_change(tempo_changed_)) {
        separation_.tempo_changed();
        taps_.tempo_changed();
        // Both lines, so that a line switched on later plays at the new tempo.
        lines_[0].tempo_changed();
        lines_[1].tempo_changed();
    }
    const int bits = flags_->get_bits();
    two_line_ = (bits & ParamFlags::bit_two_lines) != 0;
    mixer_.set_two_line(two_line_);
    mixer_.set_sustain((bits & ParamFlags::bit_sustain) != 0);
    mixer_.set_mute(0, (bits & ParamFlags::bit_mute1) != 0);
    mixer_.set_mute(1, (bits & ParamFlags::bit_mute2) != 0);
    if ((bits & ParamFlags::bit_clear1) != 0)
        lines_[0].reset();
    if ((bits & ParamFlags::bit_clear2) != 0)
        lines_[1].reset();
    mixer_.set_predelay_level(float(dry_level_->get_internal()));
    mixer_.set_separation(float(separation_.get_value()));
}

void Algo::reset_running_state() noexcept {
    separation_.reset();
    taps_.reset();
    lines_[0].reset();
    lines_[1].reset();
    tempo_changed_.store(true, std::memory_order_relaxed);
    flags_changed_.store(false, std::memory_order_relaxed);
    apply_flags();
    countdown_ = 0;
    mixer_.reset();
}

bool Algo::process_replace(float* const* out, const float* const* in, int frames, bool) noexcept {
    process<false>(out, in, frames);
    return false;
}

bool Algo::process_add(float* const* out, const float* const* in, int frames, bool) noexcept {
    process<true>(out, in, frames);
    return false;
}

template <bool Add>
void Algo::process(float* const* out, const float* const* in, int frames) noexcept {
    QUEVRIN_ASSERT_AUDIO_THREAD(threads_);
    const DenormalGuard guard;
    if (mppi::take_change(reset_requested_, std::memory_order_acquire))
        reset_running_state();
    const bool mono = host_ && !host_->is_out_channel(0, 1);

    for (int done = 0; done < frames;) {
        if (countdown_ == 0) {
            countdown_ = control_block;
            separation_.tick(control_block);
            if (mppi::take_change(flags_changed_))
                apply_flags();
            taps_.tick();
            lines_[0].tick();
            if (two_line_)
                lines_[1].tick();
            mixer_.tick();
        }
        const int chunk = std::min(countdown_, frames - done);
        const int tick_offset = control_block - countdown_;
        float* L = scratch_left_;
        float* R = scratch_right_;
        taps_.process(L, R, in[0] + done, in[1] + done, chunk);

        // Runs that no line buffer wraps inside: each reads its delayed
        // samples, then the mixer writes the lines' new input.
        for (int pos = 0; pos < chunk;) {
            int run = std::min(chunk - pos, lines_[0].max_run());
            if (two_line_)
                run = std::min(run, lines_[1].max_run());
            float* w0 = lines_[0].write_pointer();
            float* w1 = two_line_ ? lines_[1].write_pointer() : nullptr;
            const float* x0 = nullptr;
            const float* x1 = nullptr;
            if (two_line_) {
                DelayLine::read_pair(lines_[0], lines_[1], run);
                x0 = lines_[0].output();
                x1 = lines_[1].output();
            } else {
                x0 = lines_[0].read(run);
            }
            mixer_.process(L + pos, R + pos, x0, x1, w0, w1, run, tick_offset + pos);
            pos += run;
        }

        float* out_left = out[0] + done;
        if (mono) {
            for (int i = 0; i < chunk; ++i)
                out_left[i] = Add ? out_left[i] + (L[i] + R[i]) : L[i] + R[i];
        } else {
            float* out_right = out[1] + done;
            for (int i = 0; i < chunk; ++i) {
                out_left[i] = Add ? out_left[i] + L[i] : L[i];
                out_right[i] = Add ? out_right[i] + R[i] : R[i];
            }
        }
        countdown_ -= chunk;
        done += chunk;
    }
}

} // namespace effect
