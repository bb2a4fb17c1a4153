#include "mppi/binding/MetaControl.h"

#include "mppi/binding/ListenerBase.h"
#include "pengui/ControlInterface.h"

namespace mppi {

void MetaControl::bind(pengui::ControlInterface* control, ListenerBase* listener) {
    control_ = control;
    listener_ = listener;
    if (control_ != nullptr) {
        control_->set_listener(listener_);
    }
}

void MetaControl::show_value(double value, int priority) {
    if (control_ != nullptr) {
        control_->set_value_from_outside(value, priority);
    }
}

void MetaControl::refresh() {
    if (listener_ != nullptr) {
        listener_->refresh();
    }
}

} // namespace mppi
