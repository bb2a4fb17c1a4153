#include "sys/DebugOutput.h"

#include <windows.h>

namespace sys {

void debug_output(const std::string& text) {
    OutputDebugStringA(text.c_str());
}

} // namespace sys
