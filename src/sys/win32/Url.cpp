#include "sys/Url.h"

#include "sys/DebugOutput.h"

#include <windows.h>

#include <shellapi.h>

namespace sys {

int open_url(const std::string& url) {
    // ShellExecute reports success with a value above 32.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", url.c_str(), nullptr, ".", SW_HIDE));
    if (result <= 32) {
        debug_output("sys::open_url: Error: couldn't open html browser.\n");
        return -1;
    }
    return 0;
}

} // namespace sys
