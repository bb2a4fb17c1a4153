#pragma once

namespace pengui {

// The clock of toolkit animation and timers: the system clock in seconds
// unless a test or a headless window puts another source in its place.
class ToolkitClock {
public:
    using Source = double (*)();

    // [editor thread] Seconds; only differences matter.
    static double now();
    // [editor thread] now() in whole milliseconds, as system timers count.
    static long long milliseconds();
    // [editor thread] Null restores the system clock.
    static void set_source(Source source);
};

} // namespace pengui
