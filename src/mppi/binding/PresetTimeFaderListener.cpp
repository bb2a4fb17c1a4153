#include "mppi/binding/PresetTimeFaderListener.h"

#include "mppi/binding/PresetListenerRefList.h"
#include "mppi/binding/PresetTimeDisplayListener.h"
#include "pengui/ControlInterface.h"

#include <cmath>

namespace mppi {

namespace {
const double ln_100 = std::log(100.0);
}

void PresetTimeFaderListener::set_time(double time) {
    if (pengui::ControlInterface* knob = attached_control()) {
        knob->set_value_from_user(std::log(1.0 + time) / ln_100,
                                  pengui::ControlInterface::gesture_priority);
    }
}

double PresetTimeFaderListener::map_value_for_storing(double value, int) {
    // The knob's 0..1 spreads the times logarithmically: 100^k - 1 seconds,
    // taken as a fraction of the 99 s range times the range so that the
    // times match the knob's scale to the last bit.
    time_ = (std::exp(value * ln_100) - 1.0) / max_time * max_time;
    if (refs_ != nullptr && refs_->time_display() != nullptr) {
        refs_->time_display()->show_time(time_);
    }
    return value;
}

} // namespace mppi
