#include "sys/ErrorText.h"

#include "sys/DebugOutput.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace sys {

namespace {
// strerror_r comes in two flavours: the GNU one returns the text, the XSI
// one fills the buffer and returns a status. Only one of these is used.
[[maybe_unused]] const char* text_of(const char* result, const char*) {
    return result;
}
[[maybe_unused]] const char* text_of(int status, const char* buffer) {
    return status == 0 ? buffer : "Unknown error";
}
} // namespace

void format_error(char* buffer, std::size_t size, int code) {
    char scratch[max_error_text + 1] = {};
    const char* message = text_of(strerror_r(code, scratch, sizeof scratch), scratch);
    const std::string text(message, strnlen(message, max_error_text));
    if (size > 0) {
        const std::size_t length = std::min(size - 1, text.size());
        std::memcpy(buffer, text.data(), length);
        buffer[length] = '\0';
    }
    debug_output(text + "\n");
}

} // namespace sys
