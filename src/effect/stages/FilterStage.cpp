#include "effect/stages/FilterStage.h"

#include "mppi/ChangeMark.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace effect {

namespace {

constexpr int filter_attribute = 2;
constexpr double default_cutoff = 1000.0;
constexpr double default_reso = 1.0;
constexpr double default_q = 1.0;
// Keeps the prewarped corner well away from the Nyquist frequency.
constexpr double max_cutoff_ratio = 0.49;

template <class Param>
std::shared_ptr<Param> make_param(double value, int line_index) {
    auto p = std::make_shared<Param>();
    p->init_numbered(value, filter_attribute, line_index);
    return p;
}

} // namespace

void FilterStage::init(int line_index, mppi::PluginInternal& plugin) {
    type_ = make_param<ParamDlyFiltType>(ParamDlyFiltType::resonator, line_index);
    type_->set_target(this);
    plugin.add_param(type_);
    cutoff_.set_target(this);
    reso_.set_target(this);
    q_.set_target(this);
    cutoff_.init(make_param<ParamDlyFiltCutoff>(default_cutoff, line_index), plugin);
    reso_.init(make_param<ParamDlyFiltReso>(default_reso, line_index), plugin);
    q_.init(make_param<ParamDlyFiltQ>(default_q, line_index), plugin);
    update_coefficients();
}

void FilterStage::set_defaults() {
    type_->set_internal(ParamDlyFiltType::resonator);
    cutoff_.set_defaults(default_cutoff);
    reso_.set_defaults(default_reso);
    q_.set_defaults(default_q);
    reset();
}

void FilterStage::reset() noexcept {
    cutoff_.reset();
    reso_.reset();
    q_.reset();
    update_coefficients();
    biquad_.clear();
    filter_changed_.store(false, std::memory_order_relaxed);
}

void FilterStage::set_sample_rate(float rate) {
    cutoff_.set_sample_rate(rate);
    reso_.set_sample_rate(rate);
    q_.set_sample_rate(rate);
    biquad_.set_sample_rate(rate);
    update_coefficients();
}

void FilterStage::tempo_changed() noexcept {
    cutoff_.tempo_changed();
    reso_.tempo_changed();
    q_.tempo_changed();
}

void FilterStage::tick(int n) noexcept {
    cutoff_.tick(n);
    reso_.tick(n);
    q_.tick(n);
    if (mppi::take_change(filter_changed_))
        update_coefficients();
}

void FilterStage::read(float* dst, const float* src, int count) noexcept {
    if (!is_neutral()) {
        biquad_.process(dst, src, count);
        return;
    }
    if (dst != src)
        std::memcpy(dst, src, sizeof(float) * std::size_t(count));
    // The memory follows the signal passed, so that the filter, once it
    // filters again, goes on from the signal instead of from what it held
    // when it last filtered, which could ring at a new resonance.
    biquad_.follow(dst, count);
}

bool FilterStage::is_neutral() const noexcept {
    return biquad_.type() == Biquad::resonator && std::abs(biquad_.resonance() - 1.0f) <= 0.05f;
}

void FilterStage::notify(mppi::NotifierInterface*) noexcept {
    filter_changed_.store(true, std::memory_order_relaxed);
}

void FilterStage::update_coefficients() noexcept {
    const int type = std::clamp(int(std::lround(type_->get_internal())), 0, 3);
    const double f =
        std::min(cutoff_.get_value(), max_cutoff_ratio * double(biquad_.sample_rate()));
    biquad_.set(type, float(f), float(reso_.get_value()), float(q_.get_value()));
}

} // namespace effect
