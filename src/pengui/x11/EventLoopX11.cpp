#include "pengui/x11/EventLoopX11.h"
#include "pengui/x11/XlibFunctions.h"

#include "pengui/ToolkitClock.h"
#include "pengui/x11/EventTargetX11.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdlib>
#include <poll.h>

namespace pengui {

namespace {
// Rounds of events, timers and paints one dispatch runs while painting left
// more events in the queue; a bound, so that a busy server cannot hold the
// host's loop.
constexpr int max_rounds = 8;
} // namespace

std::unique_ptr<EventLoopX11> EventLoopX11::connect(const char* display_name) {
    // Without a display named, or in DISPLAY, none answers: the libraries
    // are not even loaded.
    const char* named = display_name != nullptr ? display_name : std::getenv("DISPLAY");
    if (named == nullptr || *named == '\0' || !xlib_loaded()) {
        return nullptr;
    }
    Display* display = xlib().XOpenDisplay(display_name);
    if (display == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<EventLoopX11>(new EventLoopX11(display));
}

EventLoopX11* EventLoopX11::shared() {
    static std::unique_ptr<EventLoopX11> loop;
    if (!loop) {
        loop = connect();
    }
    return loop.get();
}

EventLoopX11::EventLoopX11(_XDisplay* display) : display_(display) {
    int major = 0;
    int minor = 0;
    Bool pixmaps = False;
    shm_ = xlib().XShmQueryVersion(display_, &major, &minor, &pixmaps) == True;
    int event_base = 0;
    int error_base = 0;
    xfixes_ = xlib().XFixesQueryExtension(display_, &event_base, &error_base) == True &&
              xlib().XFixesQueryVersion(display_, &major, &minor) != 0 && major >= 4;
}

EventLoopX11::~EventLoopX11() {
    xlib().XCloseDisplay(display_);
}

int EventLoopX11::fd() const {
    return ConnectionNumber(display_);
}

void EventLoopX11::add_target(unsigned long xid, EventTargetX11* target) {
    targets_.push_back(Target{xid, target});
}

void EventLoopX11::remove_target(unsigned long xid) {
    targets_.erase(std::remove_if(targets_.begin(), targets_.end(),
                                  [xid](const Target& t) { return t.xid == xid; }),
                   targets_.end());
}

EventTargetX11* EventLoopX11::target_of(unsigned long xid) const {
    for (const Target& t : targets_) {
        if (t.xid == xid) {
            return t.target;
        }
    }
    return nullptr;
}

int EventLoopX11::next_deadline_ms() const {
    return timers_.next_deadline_ms();
}

void EventLoopX11::dispatch() {
    int rounds = 0;
    do {
        while (xlib().XPending(display_) > 0) {
            XEvent event;
            xlib().XNextEvent(display_, &event);
            if (event.type == MappingNotify) {
                // Keys remapped (a keyboard layout, an input tool): read them anew.
                xlib().XRefreshKeyboardMapping(&event.xmapping);
                continue;
            }
            if (EventTargetX11* target = target_of(event.xany.window)) {
                target->handle_event(event);
            }
        }
        timers_.fire_due();
        for (std::size_t i = 0; i < targets_.size(); ++i) {
            targets_[i].target->end_of_round();
        }
        xlib().XFlush(display_);
    } while (++rounds < max_rounds && xlib().XEventsQueued(display_, QueuedAlready) > 0);
}

void EventLoopX11::run_for(int milliseconds) {
    const long long end = ToolkitClock::milliseconds() + milliseconds;
    for (;;) {
        dispatch();
        const long long left = end - ToolkitClock::milliseconds();
        if (left <= 0) {
            return;
        }
        const int deadline = next_deadline_ms();
        const int wait =
            static_cast<int>(deadline < 0 ? left : std::min<long long>(deadline, left));
        if (xlib().XEventsQueued(display_, QueuedAlready) == 0) {
            pollfd p{fd(), POLLIN, 0};
            poll(&p, 1, wait);
        }
    }
}

} // namespace pengui
