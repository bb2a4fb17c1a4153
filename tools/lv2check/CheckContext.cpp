#include "CheckContext.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

char current_case[256] = "";

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
void on_fault(int) {
    const char prefix[] = "lv2check: the plug-in crashed during ";
    [[maybe_unused]] ssize_t n = write(2, prefix, sizeof prefix - 1);
    n = write(2, current_case, std::strlen(current_case));
    n = write(2, "\n", 1);
    _exit(1);
}
#endif

} // namespace

void set_current_case(const char* text) noexcept {
    std::strncpy(current_case, text, sizeof current_case - 1);
}

void report_faults_with_case() {
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    // (A sanitizer's own report, with its stack, says more.)
    struct sigaction action {};
    action.sa_handler = on_fault;
    sigaction(SIGSEGV, &action, nullptr);
    sigaction(SIGBUS, &action, nullptr);
#endif
}

std::vector<float> noise(std::uint32_t frames, float amplitude, std::uint32_t& state) {
    std::vector<float> v(frames);
    for (float& x : v) {
        state = state * 1664525u + 1013904223u;
        x = amplitude * (float(state >> 8) / float(1u << 23) - 1.0f);
    }
    return v;
}
