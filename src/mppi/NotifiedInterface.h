#pragma once

namespace mppi {

class NotifierInterface;

// An object that can be told that a notifier changed. Receivers keep notify()
// cheap: they mark themselves changed and recompute at their next tick.
class NotifiedInterface {
public:
    virtual ~NotifiedInterface() = default;
    // [any thread] `source` changed.
    virtual void notify(NotifierInterface* source) noexcept = 0;
};

} // namespace mppi
