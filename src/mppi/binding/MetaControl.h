#pragma once

namespace pengui {
class ControlInterface;
}

namespace mppi {

class ListenerBase;

// The editor's hub for one parameter: the control that shows it and the
// listener that binds the two. Parameter changes from elsewhere reach the
// control through here. Neither is owned.
//
// Everything runs on the editor thread.
class MetaControl {
public:
    virtual ~MetaControl() = default;

    // [editor thread] Stores both and attaches the listener to the control.
    void bind(pengui::ControlInterface* control, ListenerBase* listener);
    // [editor thread] Sets the control from outside to a normalized value.
    void show_value(double value, int priority);
    // [editor thread] Sets the control from outside to its parameter's
    // normalized value, with priority 1.
    void refresh();

    pengui::ControlInterface* control() const { return control_; }
    ListenerBase* listener() const { return listener_; }

private:
    pengui::ControlInterface* control_ = nullptr;
    ListenerBase* listener_ = nullptr;
};

} // namespace mppi
