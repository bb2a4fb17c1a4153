#pragma once

#include <string>

namespace sys {

// [editor thread] One sentence for the user, on stderr after the program's
// name: what the editor could not do and why, where a dialog shows nothing.
void tell_user(const std::string& sentence);

// [any thread] Why a write fell short, from the C library's error number:
// a full disk said as such, with the system's words after it, any other
// error in the system's words.
std::string write_failure(int error);

} // namespace sys
