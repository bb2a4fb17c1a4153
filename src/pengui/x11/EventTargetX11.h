#pragma once

union _XEvent;

namespace pengui {

// Something that owns an X window of the layer and hears its events.
class EventTargetX11 {
public:
    virtual ~EventTargetX11() = default;
    // [editor thread] One event of the target's window.
    virtual void handle_event(const _XEvent& event) = 0;
    // [editor thread] After each round of events and timers: the place to
    // paint what the round made dirty, once.
    virtual void end_of_round() {}
};

} // namespace pengui
