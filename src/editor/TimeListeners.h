#pragma once

#include "editor/RcListener.h"

#include <vector>

namespace mppi {
class NormalizedParamInterface;
class TimeUnit;
} // namespace mppi

namespace editor {

// The time snap points of a knob kind, as normalized values of its
// parameter: built once per process, the first time they are asked for.
enum class TimeSnap { delay_time, tap_time, lfo_period };
const std::vector<double>& time_snap_list(TimeSnap kind,
                                          const mppi::NormalizedParamInterface& param);

// What a knob that shows a time does when the display unit or the tempo
// changes: a new unit cancels the gesture, gives the knob its snap points in
// beats (none otherwise) and refreshes it; a new tempo cancels the gesture
// and refreshes it unless the knob shows beats.
class TimeFollower {
public:
    explicit TimeFollower(TimeSnap kind) : kind_(kind) {}
    // [editor thread]
    void follow(const mppi::TimeUnit& unit, mppi::ListenerBase& listener);

private:
    TimeSnap kind_;
    int last_unit_ = -1;
    double last_tempo_ = -1.0;
};

// A delay line's time knob: linked to the other line's, following the unit.
class DelayTimeListener : public NumValListenerRc {
public:
    // [editor thread]
    void time_unit_changed(const mppi::TimeUnit& unit) { follower_.follow(unit, *this); }

private:
    TimeFollower follower_{TimeSnap::delay_time};
};

// A tap's time knob.
class TapTimeListener : public NumValListenerInterface {
public:
    // [editor thread]
    void time_unit_changed(const mppi::TimeUnit& unit) { follower_.follow(unit, *this); }

private:
    TimeFollower follower_{TimeSnap::tap_time};
};

// The LFO period knob of a panel: writes the period box.
class LfoPerKnListener : public NumericParamListener {
public:
    // [editor thread]
    void time_unit_changed(const mppi::TimeUnit& unit) { follower_.follow(unit, *this); }
    double map_value_for_storing(double value, int priority) override;

private:
    TimeFollower follower_{TimeSnap::lfo_period};
};

// The LFO depth knob of a panel: writes the depth box.
class LfoDepthKnListener : public NumericParamListener {
public:
    // [editor thread]
    double map_value_for_storing(double value, int priority) override;
};

} // namespace editor
