#include "pengui/ToolkitClock.h"

#include "sys/Clock.h"

#include <cmath>

namespace pengui {

namespace {
ToolkitClock::Source source = nullptr;
}

double ToolkitClock::now() {
    return source != nullptr ? source() : sys::now();
}

long long ToolkitClock::milliseconds() {
    return std::llround(now() * 1000.0);
}

void ToolkitClock::set_source(Source s) {
    source = s;
}

} // namespace pengui
