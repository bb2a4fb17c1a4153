#pragma once

#include <cstddef>
#include <vector>

namespace pengui {

class WindowInterface;

// Toolkit timers kept by deadline on the toolkit clock, for a window system
// without timers of its own (X11) and for the headless window: each armed id
// with its window, period and next due time. A late round fires a timer once
// and counts its period from then, as a system timer does.
class TimerSchedule {
public:
    // [editor thread] Room for capacity timers: arming that many allocates
    // nothing.
    explicit TimerSchedule(std::size_t capacity = 0);

    // [editor thread] id ticks every period_ms from now, into the window's
    // fire_timer.
    void add(WindowInterface* window, int id, int period_ms);
    // [editor thread] Erases id; false when it is not armed.
    bool remove(int id);
    // [editor thread] Erases every timer of window.
    void remove_window(const WindowInterface* window);
    // [editor thread] The period of id, -1 when it is not armed.
    int period_ms(int id) const;
    int size() const { return static_cast<int>(timers_.size()); }
    // [editor thread] Milliseconds until the next timer is due (0: one is
    // due now), -1 without timers.
    int next_deadline_ms() const;
    // [editor thread] Fires every timer due by now, at most once each, in
    // the order they were armed; handlers may arm and clear timers meanwhile.
    void fire_due();

private:
    struct Timer {
        WindowInterface* window;
        int id;
        int period_ms;
        long long due_ms;
    };

    std::vector<Timer> timers_;
    std::vector<int> due_; // the ids due in this round, kept to allocate once
};

} // namespace pengui
