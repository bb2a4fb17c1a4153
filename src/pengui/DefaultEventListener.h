#pragma once

#include "pengui/EventListenerInterface.h"

namespace pengui {

// A listener that accepts every change, passes values unchanged and only
// remembers the control it is attached to.
class DefaultEventListener : public EventListenerInterface {
public:
    void focus_gained() override {}
    void focus_lost() override {}
    bool accept_change(int) override { return true; }
    void gesture_ended(int) override {}
    double map_value_for_storing(double value, int) override { return value; }
    double map_value_from_user(double value, int) override { return value; }
    double map_value_from_outside(double value, int) override { return value; }
    void action(int, int) override {}
    double transform_value(double value) override { return value; }
    double untransform_value(double value) override { return value; }
    void before_message(const MessageInterface&) override {}
    void after_message(const MessageInterface&) override {}
    void attach(ControlInterface* control) override { control_ = control; }
    ControlInterface* attached_control() const override { return control_; }

private:
    ControlInterface* control_ = nullptr;
};

} // namespace pengui
