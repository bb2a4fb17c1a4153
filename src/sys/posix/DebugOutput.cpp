#include "sys/DebugOutput.h"

#include <cstdio>
#include <cstdlib>

namespace sys {

void debug_output(const std::string& text) {
    const char* enabled = std::getenv("QUEVRIN_DEBUG");
    if (enabled == nullptr || enabled[0] == '\0') {
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

} // namespace sys
