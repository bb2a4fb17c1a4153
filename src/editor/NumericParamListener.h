#pragma once

#include "mppi/binding/ListenerBase.h"

namespace editor {

class NumericParamMgr;

// A listener bound to a parameter that has a detail panel: it reaches the
// panel (not owned) to keep its read-outs in step.
//
// Everything runs on the editor thread.
class NumericParamListener : public mppi::ListenerBase {
public:
    // [editor thread]
    void set_manager(NumericParamMgr* manager) { manager_ = manager; }
    NumericParamMgr* manager() const { return manager_; }

protected:
    NumericParamMgr* manager_ = nullptr;
};

// The listener of a control whose touch shows its parameter's panel, and
// whose every stored value is written into the panel's value box.
class NumValListenerInterface : public NumericParamListener {
public:
    // [editor thread] Shows the panel and takes the focus from every other
    // knob.
    void focus_gained() override;
    // [editor thread] The value box shows the value's text.
    double map_value_for_storing(double value, int priority) override;
};

} // namespace editor
