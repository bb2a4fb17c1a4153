#include "sys/ErrorText.h"

#include "sys/DebugOutput.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace sys {

void format_error(char* buffer, std::size_t size, int code) {
    char scratch[max_error_text + 1] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), LANG_USER_DEFAULT,
                                        scratch, static_cast<DWORD>(sizeof scratch), nullptr);
    std::string text = length > 0 ? std::string(scratch, length) : "Unknown error";
    // System texts end with a line break of their own.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    if (size > 0) {
        const std::size_t copied = std::min(size - 1, text.size());
        std::memcpy(buffer, text.data(), copied);
        buffer[copied] = '\0';
    }
    debug_output(text + "\n");
}

} // namespace sys
