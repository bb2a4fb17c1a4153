#pragma once

#include "mppi/NotifiedInterface.h"

namespace mppi {

// An object that reports its changes to one target.
class NotifierInterface {
public:
    virtual ~NotifierInterface() = default;

    // [editor thread] Set once by the owner after creation, before any thread reads it.
    void set_target(NotifiedInterface* target) { target_ = target; }
    // [any thread]
    NotifiedInterface* get_target() const noexcept { return target_; }

protected:
    // [any thread] Tells the target, when there is one.
    void notify_target() noexcept {
        if (target_ != nullptr)
            target_->notify(this);
    }

private:
    NotifiedInterface* target_ = nullptr;
};

} // namespace mppi
