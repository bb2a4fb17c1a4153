#include "pengui/x11/EventLoopX11.h"
#include "pengui/x11/XlibFunctions.h"

#include "pengui/Messages.h"
#include "pengui/ToolkitClock.h"
#include "pengui/x11/EventTargetX11.h"
#include "pengui/x11/WindowX11.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cmath>
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

long long EventLoopX11::now_ms() {
    return std::llround(ToolkitClock::now() * 1000.0);
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

void EventLoopX11::add_timer(WindowX11* window, int id, int period_ms) {
    timers_.push_back(Timer{window, id, period_ms, now_ms() + period_ms});
    due_.reserve(timers_.size());
}

bool EventLoopX11::remove_timer(int id) {
    const auto at =
        std::find_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
    if (at == timers_.end()) {
        return false;
    }
    timers_.erase(at);
    return true;
}

void EventLoopX11::remove_timers(const WindowX11* window) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [window](const Timer& t) { return t.window == window; }),
                  timers_.end());
}

int EventLoopX11::next_deadline_ms() const {
    if (timers_.empty()) {
        return -1;
    }
    long long due = timers_.front().due_ms;
    for (const Timer& t : timers_) {
        due = std::min(due, t.due_ms);
    }
    return static_cast<int>(std::clamp<long long>(due - now_ms(), 0, 1 << 30));
}

void EventLoopX11::fire_timers() {
    const long long now = now_ms();
    // Handlers arm and clear timers while they run: go by the ids due now
    // and look each one up again before it fires.
    due_.clear();
    for (const Timer& t : timers_) {
        if (t.due_ms <= now) {
            due_.push_back(t.id);
        }
    }
    for (const int id : due_) {
        const auto at = std::find_if(timers_.begin(), timers_.end(),
                                     [id](const Timer& t) { return t.id == id; });
        if (at == timers_.end()) {
            continue;
        }
        // A late loop fires once and keeps the period from now, as a system
        // timer does.
        at->due_ms = now + at->period_ms;
        if (MessageHandlerInterface* handler = at->window->find_timer_handler(id)) {
            handler->handle(Notify(id, static_cast<double>(now) * 0.001));
        }
    }
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
        fire_timers();
        for (std::size_t i = 0; i < targets_.size(); ++i) {
            targets_[i].target->end_of_round();
        }
        xlib().XFlush(display_);
    } while (++rounds < max_rounds && xlib().XEventsQueued(display_, QueuedAlready) > 0);
}

void EventLoopX11::run_for(int milliseconds) {
    const long long end = now_ms() + milliseconds;
    for (;;) {
        dispatch();
        const long long left = end - now_ms();
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
