#include "pengui/ToolkitClock.h"

#include "sys/Clock.h"

namespace pengui {

namespace {
ToolkitClock::Source source = nullptr;
}

double ToolkitClock::now() {
    return source != nullptr ? source() : sys::now();
}

void ToolkitClock::set_source(Source s) {
    source = s;
}

} // namespace pengui
