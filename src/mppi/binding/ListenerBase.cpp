#include "mppi/binding/ListenerBase.h"

#include "mppi/HostGuiInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/ParamPriority.h"
#include "pengui/ControlInterface.h"

namespace mppi {

bool ListenerBase::accept_change(int priority) {
    return host_ == nullptr || host_->may_change_param(index_, priority);
}

void ListenerBase::gesture_ended(int priority) {
    if (host_ != nullptr) {
        host_->release_param(index_, priority);
    }
}

double ListenerBase::map_value_from_user(double value, int priority) {
    if (host_ != nullptr) {
        host_->set_param(index_, static_cast<float>(value), priority);
    }
    return value;
}

void ListenerBase::refresh() {
    if (attached_control() != nullptr && param_ != nullptr) {
        attached_control()->set_value_from_outside(param_->get_normalized(),
                                                   ParamPriority::refresh_priority);
    }
}

} // namespace mppi
