// UTF-8 <-> UTF-16 conversion with the calling conventions of the Win32
// code-page functions. The ANSI code page is UTF-8 on Linux.
#include "host/dx/platform/linux/ComRuntime.h"

#include <string>

namespace {

constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
constexpr char32_t replacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; returns false for a malformed one
// (overlong, surrogate, out of range or truncated), consuming one byte.
bool decode_utf8(const unsigned char* text, int length, int& i, char32_t& code) {
    const unsigned char lead = text[i++];
    int extra = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    const int start = i;
    for (int k = 0; k < extra; ++k) {
        if (i >= length || (text[i] & 0xC0) != 0x80) {
            i = start;
            return false;
        }
        code = (code << 6) | (text[i++] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        i = start;
        return false;
    }
    return true;
}

void append_utf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Copies a converted result out with the Win32 capacity rules.
template <typename Char, typename String>
int deliver(const String& converted, Char* out, int capacity) {
    const int needed = static_cast<int>(converted.size());
    if (capacity == 0) {
        return needed;
    }
    if (out == nullptr || capacity < needed) {
        return 0;
    }
    for (int i = 0; i < needed; ++i) {
        out[i] = converted[i];
    }
    return needed;
}

bool supported(UINT code_page) {
    return code_page == CP_ACP || code_page == CP_UTF8;
}

} // namespace

int MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                        int capacity) {
    if (!supported(code_page) || text == nullptr || length == 0 || length < -1 || capacity < 0) {
        return 0;
    }
    if (length == -1) {
        length = static_cast<int>(std::char_traits<char>::length(text)) + 1;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::u16string converted;
    for (int i = 0; i < length;) {
        char32_t code = 0;
        if (!decode_utf8(bytes, length, i, code)) {
            if ((flags & MB_ERR_INVALID_CHARS) != 0) {
                return 0;
            }
            code = replacement;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            converted += static_cast<char16_t>(0xD800 + (code >> 10));
            converted += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            converted += static_cast<char16_t>(code);
        }
    }
    return deliver(converted, wide, capacity);
}

int WideCharToMultiByte(UINT code_page, DWORD, LPCWSTR wide, int length, LPSTR text, int capacity,
                        LPCSTR, BOOL* used_default) {
    if (!supported(code_page) || wide == nullptr || length == 0 || length < -1 || capacity < 0) {
        return 0;
    }
    if (used_default != nullptr) {
        *used_default = FALSE;
    }
    if (length == -1) {
        length = static_cast<int>(std::char_traits<char16_t>::length(wide)) + 1;
    }
    std::string converted;
    for (int i = 0; i < length; ++i) {
        char32_t code = wide[i];
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        if (high && i + 1 < length && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = replacement;
        }
        append_utf8(converted, code);
    }
    return deliver(converted, text, capacity);
}
