#pragma once

#include "pengui/TimerSchedule.h"

#include <memory>
#include <vector>

struct _XDisplay;

namespace pengui {

class EventTargetX11;

// One connection to an X server and everything the layer's windows share on
// it: which window is whose, and the table of toolkit timers (X has no timers
// of its own, so the loop keeps their deadlines). A host drives it from its
// own loop: wait until fd() is readable or next_deadline_ms() has passed,
// then call dispatch().
//
// Everything, windows included, lives on the thread that runs the loop.
class EventLoopX11 {
public:
    // [editor thread] Connects to the named display (null: $DISPLAY). Null
    // when no server answers.
    static std::unique_ptr<EventLoopX11> connect(const char* display_name = nullptr);
    // [editor thread] The process's own connection, to $DISPLAY, made on the
    // first call that finds a server (null until then). For hosts that give
    // the plug-in no loop of theirs; it lives until the process ends, so
    // every window on it must be gone by then.
    static EventLoopX11* shared();
    // [editor thread] Every window of the loop must be gone before.
    ~EventLoopX11();
    EventLoopX11(const EventLoopX11&) = delete;
    EventLoopX11& operator=(const EventLoopX11&) = delete;

    // [editor thread] Handles every event already received, fires the
    // timers that are due, then lets each window paint its dirty region.
    void dispatch();
    // [editor thread] Milliseconds until the next timer is due (0: one is
    // due now), or -1 without timers.
    int next_deadline_ms() const;
    // [editor thread] Runs the loop for about milliseconds: waits for events
    // or deadlines and dispatches them. For hosts without a loop of their own.
    void run_for(int milliseconds);

    // [any thread] The connection's file descriptor, to wait on.
    int fd() const;
    _XDisplay* display() const { return display_; }
    bool has_shared_memory() const { return shm_; }
    // [editor thread] Windows opened later blit with XPutImage: for a server
    // that offers MIT-SHM but cannot reach this process's segments.
    void disable_shared_memory() { shm_ = false; }
    bool has_xfixes() const { return xfixes_; }
    // [editor thread] Windows of the layer (plug-in windows and popup
    // editors) that exist on the server now.
    int native_windows() const { return static_cast<int>(targets_.size()); }

    // For the layer's windows.
    // [editor thread] Routes the events of window xid to target.
    void add_target(unsigned long xid, EventTargetX11* target);
    void remove_target(unsigned long xid);
    // [editor thread] The toolkit timers of every window of the loop.
    TimerSchedule& timers() { return timers_; }

private:
    explicit EventLoopX11(_XDisplay* display);
    EventTargetX11* target_of(unsigned long xid) const;

    struct Target {
        unsigned long xid;
        EventTargetX11* target;
    };

    _XDisplay* display_;
    bool shm_ = false;
    bool xfixes_ = false;
    std::vector<Target> targets_;
    TimerSchedule timers_;
};

} // namespace pengui
