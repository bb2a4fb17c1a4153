#pragma once

namespace pengui {

class ControlInterface;
class MessageInterface;

// What a control tells the one listener attached to it; the editor binds
// controls to parameters through it. Priorities: 200 while a mouse button is
// held in a gesture (and at its end), 50 for changes that go on after the
// release. Action kinds: 0 push button pressed, 1 text box edited.
class EventListenerInterface {
public:
    static constexpr int action_pressed = 0;
    static constexpr int action_edited = 1;

    virtual ~EventListenerInterface() = default;
    // [editor thread]
    virtual void focus_gained() = 0;
    // [editor thread]
    virtual void focus_lost() = 0;
    // [editor thread] Whether a change with that priority may go ahead.
    virtual bool accept_change(int priority) = 0;
    // [editor thread]
    virtual void gesture_ended(int priority) = 0;
    // [editor thread] The value a control stores.
    virtual double map_value_for_storing(double value, int priority) = 0;
    // [editor thread] A value the user set; the listener passes it on.
    virtual double map_value_from_user(double value, int priority) = 0;
    // [editor thread] A value set from outside (a parameter change).
    virtual double map_value_from_outside(double value, int priority) = 0;
    // [editor thread]
    virtual void action(int kind, int data) = 0;
    // [editor thread] Two value transforms, the identity by default; the
    // controls never call them.
    virtual double transform_value(double value) = 0;
    virtual double untransform_value(double value) = 0;
    // [editor thread] Around each message the control handles.
    virtual void before_message(const MessageInterface& message) = 0;
    virtual void after_message(const MessageInterface& message) = 0;
    // [editor thread] Called by the control's set_listener.
    virtual void attach(ControlInterface* control) = 0;
    // [editor thread]
    virtual ControlInterface* attached_control() const = 0;
};

} // namespace pengui
