#include "mppi/binding/PresetMemListener.h"

#include "pengui/ControlInterface.h"

namespace mppi {

bool PresetMemListener::store_mode() const {
    const pengui::ControlInterface* control = attached_control();
    return control != nullptr && control->value() >= 0.5;
}

void PresetMemListener::leave_store_mode() {
    if (pengui::ControlInterface* control = attached_control()) {
        control->set_value_from_user(0.0, pengui::ControlInterface::gesture_priority);
    }
}

} // namespace mppi
