#pragma once

namespace sys {

// [any thread] Seconds of the system's millisecond tick, as tick * 0.001.
// The origin is arbitrary: callers only take differences.
double now();

} // namespace sys
