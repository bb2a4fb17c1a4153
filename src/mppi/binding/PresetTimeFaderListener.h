#pragma once

#include "mppi/binding/GenericPresetListener.h"

namespace mppi {

// The morph-time knob. Its position k in [0, 1] gives the morph time
// T = 100^k - 1 seconds (0 to 99), which the morph-time box shows.
class PresetTimeFaderListener : public GenericPresetListener {
public:
    static constexpr double max_time = 99.0;

    // [editor thread] T in seconds; 0 until the knob first reports a value.
    double morph_time() const { return time_; }
    // [editor thread] Moves the knob to show time (clamped to 0..99 by the
    // caller) as a user change with priority 200; the knob's stored value
    // then sets T and the box.
    void set_time(double time);
    // [editor thread] Takes the knob's value as the new T, shows it in the
    // morph-time box, and stores k unchanged.
    double map_value_for_storing(double value, int priority) override;

private:
    double time_ = 0;
};

} // namespace mppi
