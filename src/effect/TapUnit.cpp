#include "effect/TapUnit.h"

#include "mppi/ChangeMark.h"

#include <algorithm>
#include <cmath>

namespace effect {

namespace {

constexpr int tick_length = 256;

TapUnit::Gains gains_of(float level, float pan) {
    // Pan 0 keeps the sides apart; to the right the left input moves over
    // to the right output, and the reverse.
    TapUnit::Gains g;
    g.ll = std::min(1.0f - pan, 1.0f) * level;
    g.lr = std::max(pan, 0.0f) * level;
    g.rl = std::max(-pan, 0.0f) * level;
    g.rr = std::min(1.0f + pan, 1.0f) * level;
    return g;
}

} // namespace

void TapUnit::init(int index, mppi::PluginInternal& plugin) {
    index_ = index;
    time_unit_ = &plugin.get_time_unit();

    auto time = std::make_shared<ParamTapTime>(*time_unit_);
    time->init_numbered(0.0, 4, index);
    time_.init(time, plugin);
    time_.set_target(this);

    auto level = std::make_shared<ParamTapLvl>();
    level->init_numbered(index == 0 ? 1.0 : 0.0, 1, index);
    level_param_.init(level, plugin);
    level_param_.set_target(this);

    auto pan = std::make_shared<ParamTapPan>();
    pan->init_numbered(0.0, 3, index);
    pan_param_.init(pan, plugin);
    pan_param_.set_target(this);
}

void TapUnit::set_defaults() {
    time_.set_defaults(0.0);
    level_param_.set_defaults(index_ == 0 ? 1.0 : 0.0);
    pan_param_.set_defaults(0.0);
    reset();
}

void TapUnit::reset() noexcept {
    time_.reset();
    level_param_.reset();
    pan_param_.reset();
    params_changed_.store(false, std::memory_order_relaxed);
    recompute();
    d_previous_ = d_;
    previous_level_ = level_;
    previous_pan_ = pan_;
    start_ = gains_;
    steps_ = Gains();
    ramping_ = false;
    glide_increment_ = 0.0;
}

void TapUnit::set_sample_rate(float rate, int max_delay) {
    sample_rate_ = rate;
    max_delay_ = max_delay;
    time_.set_sample_rate(rate);
    level_param_.set_sample_rate(rate);
    pan_param_.set_sample_rate(rate);
    reset();
}

void TapUnit::tempo_changed() noexcept {
    time_.tempo_changed();
    level_param_.tempo_changed();
    pan_param_.tempo_changed();
    // Taken at the next tick, so that the delay glides or crossfades there.
    params_changed_.store(true, std::memory_order_relaxed);
}

void TapUnit::notify(mppi::NotifierInterface*) noexcept {
    params_changed_.store(true, std::memory_order_relaxed);
}

void TapUnit::recompute() noexcept {
    time_seconds_ = float(time_unit_->beats_to_sec(time_.get_value()));
    level_ = float(level_param_.get_value());
    pan_ = float(pan_param_.get_value());
    // Halves round upward.
    const double samples =
        std::floor(time_unit_->beats_to_sec(time_.get_value()) * double(sample_rate_) + 0.5);
    d_ = static_cast<int>(std::min(samples, double(max_delay_)));
    gains_ = gains_of(level_, pan_);
}

void TapUnit::tick() noexcept {
    d_previous_ = d_;
    previous_level_ = level_;
    previous_pan_ = pan_;
    start_ = gains_;
    time_.tick(tick_length);
    level_param_.tick(tick_length);
    pan_param_.tick(tick_length);
    if (mppi::take_change(params_changed_))
        recompute();
    ramping_ = level_ != previous_level_ || pan_ != previous_pan_;
    if (ramping_) {
        steps_.ll = (gains_.ll - start_.ll) / tick_length;
        steps_.lr = (gains_.lr - start_.lr) / tick_length;
        steps_.rl = (gains_.rl - start_.rl) / tick_length;
        steps_.rr = (gains_.rr - start_.rr) / tick_length;
    }
    if (d_ != d_previous_)
        glide_increment_ = double(d_ - d_previous_) / tick_length;
}

} // namespace effect
