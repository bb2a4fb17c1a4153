#pragma once

#include "mppi/binding/GenericPresetListener.h"

namespace mppi {

// The store-mode switch: while it is on, a program button stores the current
// sound into its memory instead of recalling it.
class PresetMemListener : public GenericPresetListener {
public:
    // [editor thread] Whether the switch's control is at 0.5 or more.
    bool store_mode() const;
    // [editor thread] Turns the switch off as the user would, priority 200.
    void leave_store_mode();
};

} // namespace mppi
