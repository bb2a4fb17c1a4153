#include "pengui/TimerSchedule.h"

#include "pengui/ToolkitClock.h"
#include "pengui/WindowInterface.h"

#include <algorithm>
#include <cmath>

namespace pengui {

TimerSchedule::TimerSchedule(std::size_t capacity) {
    timers_.reserve(capacity);
    due_.reserve(capacity);
}

void TimerSchedule::add(WindowInterface* window, int id, int period_ms) {
    timers_.push_back(Timer{window, id, period_ms, ToolkitClock::milliseconds() + period_ms});
    due_.reserve(timers_.size());
}

bool TimerSchedule::remove(int id) {
    const auto at =
        std::find_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
    if (at == timers_.end()) {
        return false;
    }
    timers_.erase(at);
    return true;
}

void TimerSchedule::remove_window(const WindowInterface* window) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [window](const Timer& t) { return t.window == window; }),
                  timers_.end());
}

int TimerSchedule::period_ms(int id) const {
    for (const Timer& t : timers_) {
        if (t.id == id) {
            return t.period_ms;
        }
    }
    return -1;
}

int TimerSchedule::next_deadline_ms() const {
    if (timers_.empty()) {
        return -1;
    }
    long long due = timers_.front().due_ms;
    for (const Timer& t : timers_) {
        due = std::min(due, t.due_ms);
    }
    return static_cast<int>(std::clamp<long long>(due - ToolkitClock::milliseconds(), 0, 1 << 30));
}

void TimerSchedule::fire_due() {
    const double now = ToolkitClock::now();
    const long long now_ms = std::llround(now * 1000.0);
    // Handlers arm and clear timers while they run: go by the ids due now
    // and look each one up again before it fires.
    due_.clear();
    for (const Timer& t : timers_) {
        if (t.due_ms <= now_ms) {
            due_.push_back(t.id);
        }
    }
    for (const int id : due_) {
        const auto at = std::find_if(timers_.begin(), timers_.end(),
                                     [id](const Timer& t) { return t.id == id; });
        if (at == timers_.end()) {
            continue;
        }
        at->due_ms = now_ms + at->period_ms;
        at->window->fire_timer(id, now);
    }
}

} // namespace pengui
