#include "sys/Clock.h"

#include <ctime>

namespace sys {

double now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    // Whole milliseconds, like the tick the rest of the system was tuned for.
    const long long milliseconds = static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
    return static_cast<double>(milliseconds) * 0.001;
}

} // namespace sys
