#pragma once

#include "pengui/DefaultEventListener.h"

namespace mppi {

class HostGuiInterface;
class NormalizedParamInterface;

// Binds one control to one parameter: the control's changes go to the host's
// GUI services under the writer's priority (which may refuse them), and a
// refresh shows the parameter's value without writing it back. Neither the
// host services nor the parameter are owned.
//
// Everything runs on the editor thread.
class ListenerBase : public pengui::DefaultEventListener {
public:
    // [editor thread] Asks the host whether a writer of that priority may
    // change the parameter now; without host services, yes.
    bool accept_change(int priority) override;
    // [editor thread] The writer gives up its claim.
    void gesture_ended(int priority) override;
    // [editor thread] Sends the value to the host; returns it unchanged.
    double map_value_from_user(double value, int priority) override;

    // [editor thread]
    HostGuiInterface* get_host() const { return host_; }
    void set_host(HostGuiInterface* host) { host_ = host; }
    // [editor thread] The parameter's index in the plug-in's list, and the
    // parameter.
    void bind(int index, NormalizedParamInterface* param) {
        index_ = index;
        param_ = param;
    }
    int get_index() const { return index_; }
    NormalizedParamInterface* get_param() const { return param_; }
    // [editor thread] Shows the parameter's normalized value on the attached
    // control, from outside with priority 1.
    void refresh();

private:
    HostGuiInterface* host_ = nullptr;
    int index_ = -1;
    NormalizedParamInterface* param_ = nullptr;
};

} // namespace mppi
