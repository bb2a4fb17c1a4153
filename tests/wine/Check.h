// The Wine host's verdicts: every failed check is printed, and the program's
// exit status says whether any failed.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

inline int& failed_checks() {
    static int count = 0;
    return count;
}

// Returns ok, printing what failed when it is false.
inline bool check(bool ok, const std::string& what) {
    if (!ok) {
        std::printf("FAILED: %s\n", what.c_str());
        std::fflush(stdout);
        ++failed_checks();
    }
    return ok;
}

inline bool check_hr(HRESULT hr, const std::string& what) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return check(SUCCEEDED(hr), what + " returned " + text);
}
