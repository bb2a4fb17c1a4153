#pragma once

#include <cstddef>

namespace sys {

// Longest system message text copied into a caller's buffer.
static constexpr std::size_t max_error_text = 4095;

// [any thread] Copies the system's text for an error code into the buffer,
// cut to size - 1 and to max_error_text characters and always terminated
// (nothing is written when size is 0), and writes it to the debugger output.
void format_error(char* buffer, std::size_t size, int code);

} // namespace sys
