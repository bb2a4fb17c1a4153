#pragma once

#include "mppi/ChangeMark.h"
#include "mppi/LfoOscillator.h"
#include "mppi/NotifiedInterface.h"
#include "mppi/NotifierInterface.h"
#include "mppi/ParamLfoDepth.h"
#include "mppi/ParamLfoPer.h"
#include "mppi/ParamLfoWf.h"
#include "mppi/PluginInternal.h"

#include <atomic>
#include <memory>
#include <utility>

namespace mppi {

// Couples a base parameter with its LFO: period, depth and waveform
// parameters and an oscillator. The base value glides to each new value over
// 0.1 s; every control block the coupling combines the glided base b, the
// wave l in [-1, 1] and the depth d through Modifier::apply(b, l, d) into the
// modulated value handed to the stage that owns it (its target).
//
// Threads: parameters notify from the editor thread, and notify() only
// records the new glide target and marks the coupling dirty. The coupling's
// running state belongs to the audio thread (the editor thread stands in for
// it while the audio thread is stopped).
template <class Modifier, int Variant = 1>
class FullLfoParam : public NotifiedInterface, public NotifierInterface {
public:
    // Seconds the base value glides to each new value.
    static constexpr float ramp_time = 0.1f;

    // [editor thread] Creates the period, depth and waveform parameters (named
    // after the base, with its attribute), adds the base and the three to the
    // plug-in in that order, and computes the modulated value.
    void init(std::shared_ptr<NormalizedParamInterface> base, PluginInternal& plugin) {
        time_unit_ = &plugin.get_time_unit();
        base_ = std::move(base);
        const std::string name = base_->get_name();
        const int attribute = base_->get_attribute();
        period_ = std::make_shared<ParamLfoPer<Variant>>();
        depth_param_ = std::make_shared<ParamLfoDepth>();
        waveform_ = std::make_shared<ParamLfoWf>();
        period_->init_period(1.0, attribute, name, time_unit_);
        depth_param_->init_named(0.0, attribute, name);
        waveform_->init_named(0.0, attribute, name);
        for (NormalizedParamInterface* p :
             {base_.get(), static_cast<NormalizedParamInterface*>(period_.get()),
              static_cast<NormalizedParamInterface*>(depth_param_.get()),
              static_cast<NormalizedParamInterface*>(waveform_.get())})
            p->set_target(this);
        plugin.add_param(base_);
        plugin.add_param(period_);
        plugin.add_param(depth_param_);
        plugin.add_param(waveform_);

        pending_target_.store(float(base_->get_internal()), std::memory_order_relaxed);
        target_value_ = float(base_->get_internal());
        current_ = target_value_;
        step_ = 0.0;
        read_companions();
        modulated_ = current_;
        dirty_.store(false, std::memory_order_relaxed);
    }

    // [any thread] A parameter of the coupling changed.
    void notify(NotifierInterface* source) noexcept override {
        if (source == base_.get()) {
            pending_target_.store(float(base_->get_internal()), std::memory_order_relaxed);
            target_changed_.store(true, std::memory_order_release);
        }
        dirty_.store(true, std::memory_order_relaxed);
        notify_target();
    }

    // [audio thread] One control block of n samples: glide, LFO, modulated value.
    void tick(int n) noexcept {
        take_target();
        // A change arriving during this tick stays marked for the next one.
        bool dirty = take_change(dirty_);
        if (dirty)
            read_companions();
        current_ += step_ * n;
        if (step_ * (current_ - target_value_) >= 0.0) {
            current_ = target_value_;
            step_ = 0.0;
        }
        if (depth_ > 0.0f) {
            oscillator_.advance(n);
            dirty = true;
            notify_target();
        } else if (current_ != modulated_) {
            dirty = true;
            notify_target();
        }
        if (dirty) {
            modulated_ =
                depth_ > 0.0f ? Modifier::apply(current_, oscillator_.value(), depth_) : current_;
        }
    }

    // [audio thread] The glide jumps to its target, the oscillator restarts.
    void reset() noexcept {
        take_target();
        current_ = target_value_;
        step_ = 0.0;
        oscillator_.reset();
        if (take_change(dirty_))
            read_companions();
        modulated_ =
            depth_ > 0.0f ? Modifier::apply(current_, oscillator_.value(), depth_) : current_;
        notify_target();
    }

    // [editor thread, audio thread stopped] The glide keeps its duration in seconds.
    void set_sample_rate(float rate) noexcept {
        step_ *= double(sample_rate_) / double(rate);
        sample_rate_ = rate;
        oscillator_.set_sample_rate(rate);
    }

    // [audio thread] The period follows the tempo.
    void tempo_changed() noexcept { oscillator_.set_period(period_seconds()); }

    // [editor thread] The base to `value`, no modulation: depth 0, period 1 beat, sine.
    void set_defaults(double value) {
        base_->set_internal(value);
        period_->set_internal(1.0);
        depth_param_->set_internal(0.0);
        waveform_->set_internal(0.0);
    }

    // [audio thread] The modulated value of the last tick.
    double get_value() const noexcept { return modulated_; }
    // [audio thread]
    LfoOscillator& oscillator() noexcept { return oscillator_; }

private:
    void read_companions() noexcept {
        oscillator_.set_type(ParamLfoWf::oscillator_type(int(waveform_->get_internal())));
        oscillator_.set_period(period_seconds());
        depth_ = float(depth_param_->get_internal());
    }

    double period_seconds() const noexcept {
        return time_unit_->beats_to_sec(period_->get_internal());
    }

    // A new target from the base starts a glide from where the value is now.
    void take_target() noexcept {
        if (!take_change(target_changed_, std::memory_order_acquire))
            return;
        target_value_ = pending_target_.load(std::memory_order_relaxed);
        step_ = (double(target_value_) - current_) / (double(ramp_time) * sample_rate_);
    }

    TimeUnit* time_unit_ = nullptr;
    std::shared_ptr<NormalizedParamInterface> base_;
    std::shared_ptr<ParamLfoPer<Variant>> period_;
    std::shared_ptr<ParamLfoDepth> depth_param_;
    std::shared_ptr<ParamLfoWf> waveform_;
    LfoOscillator oscillator_;
    float depth_ = 0.0f;
    float sample_rate_ = 44100.0f;
    float target_value_ = 0.0f;
    double current_ = 0.0;
    double step_ = 0.0;
    double modulated_ = 0.0;
    std::atomic<float> pending_target_{0.0f};
    std::atomic<bool> target_changed_{false};
    std::atomic<bool> dirty_{false};
};

} // namespace mppi
