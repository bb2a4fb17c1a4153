#pragma once

#include <string>

namespace sys {

// [any thread] Diagnostics for developers, never shown to the user. On
// POSIX the text goes to stderr when QUEVRIN_DEBUG is set to a non-empty
// value and is discarded otherwise.
void debug_output(const std::string& text);

} // namespace sys
