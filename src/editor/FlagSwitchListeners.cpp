#include "editor/FlagSwitchListeners.h"

#include "editor/FlagListener.h"
#include "editor/ZentrovaGui.h"

namespace editor {

double FlagSwitchListener::map_value_from_user(double value, int) {
    if (gui_ != nullptr) {
        gui_->flags().set_bit(bit_, value >= 0.5);
    }
    return value;
}

MsBpmListener::MsBpmListener() : FlagSwitchListener(FlagListener::bit_beats) {}

SustLoopListener::SustLoopListener() : FlagSwitchListener(FlagListener::bit_sustain) {}

Delay2Listener::Delay2Listener() : FlagSwitchListener(FlagListener::bit_delay2) {}

double Delay2Listener::map_value_for_storing(double value, int) {
    if (gui_ != nullptr) {
        gui_->apply_delay2(value >= 0.5);
    }
    return value;
}

} // namespace editor
