#include "Report.h"

#include <cstdarg>

namespace {

std::string formatted(const char* format, va_list args) {
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
}

} // namespace

void Report::section(const std::string& name) {
    section_ = name;
    in_section_ = 0;
    std::printf("== %s\n", name.c_str());
    std::fflush(stdout);
}

void Report::fail(const char* format, ...) {
    ++failures_;
    if (++in_section_ > shown_per_section) {
        return;
    }
    va_list args;
    va_start(args, format);
    std::printf("FAIL %s: %s\n", section_.c_str(), formatted(format, args).c_str());
    va_end(args);
    std::fflush(stdout);
}

void Report::note(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::printf("   %s\n", formatted(format, args).c_str());
    va_end(args);
    std::fflush(stdout);
}

void Report::expect(bool ok, const char* format, ...) {
    if (ok) {
        return;
    }
    va_list args;
    va_start(args, format);
    const std::string text = formatted(format, args);
    va_end(args);
    fail("%s", text.c_str());
}
