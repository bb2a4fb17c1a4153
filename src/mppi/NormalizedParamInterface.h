#pragma once

#include "mppi/NotifierInterface.h"

#include <atomic>
#include <string>

namespace mppi {

// A value that hosts, programs and the editor set: a normalized view in [0, 1]
// and an internal view in the parameter's own unit, with text conversions.
//
// The editor thread writes while the audio thread reads: both views are
// relaxed atomics, written normalized first, then internal, then the target is
// told. A reader may briefly see the new normalized value with the old
// internal one.
class NormalizedParamInterface : public NotifierInterface {
public:
    ~NormalizedParamInterface() override = default;

    // [editor thread] Stores the internal value, its normalized form and the
    // attribute. Neither update() nor the target is called.
    virtual void init(double internal, int attribute);
    // [editor thread] The full display name.
    virtual std::string get_name() const = 0;
    // [editor thread] The unit shown after the value ("" when none).
    virtual std::string get_unit() const = 0;
    // [any thread] Runs after every change of value, on the thread that made
    // it, before the target is told.
    virtual void update() noexcept {}
    // [any thread] The conversions between the views.
    virtual double to_internal(float normalized) const noexcept = 0;
    // [any thread]
    virtual double to_normalized(double internal) const noexcept = 0;
    // [editor thread] The value as the editor shows it.
    virtual std::string to_text(double internal) const = 0;
    // [editor thread] Reads a typed value. `ok` is true only when the text was understood;
    // otherwise the result is meaningless and the caller keeps its value.
    virtual double from_text(const std::string& text, bool& ok) const = 0;

    // [any thread] The two views and the attribute.
    double get_internal() const noexcept { return internal_.load(std::memory_order_relaxed); }
    float get_normalized() const noexcept { return normalized_.load(std::memory_order_relaxed); }
    int get_attribute() const noexcept { return attribute_; }

    // [any thread] The one path of a change from a normalized value: store
    // it, convert it to the internal value, update, tell the target. The
    // editor thread calls it, or the audio thread of a host whose parameter
    // changes come with the audio (an LV2 plug-in's control ports); never both
    // at once. Never allocates, locks or throws.
    void set_normalized(float normalized) noexcept;
    // [any thread] The same from an internal value (defaults, typed text, a
    // host's tempo): the normalized value is derived from it.
    void set_internal(double internal) noexcept;

private:
    std::atomic<double> internal_{0.0};
    std::atomic<float> normalized_{0.0f};
    int attribute_ = -1;
};

} // namespace mppi
