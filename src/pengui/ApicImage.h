#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pengui {

// The checked view of one "APIC" resource: its header fields and pointers to
// its palette and pixel data, which lie wholly inside the resource.
struct ApicImage {
    static constexpr int header_bytes = 36;

    int kind = 0;
    int bits = 0;
    int width = 0;
    int height = 0;
    int palette_entries = 0;
    const std::uint8_t* palette = nullptr; // 4 bytes an entry, null without one
    const std::uint8_t* pixels = nullptr;

    // [any thread] Reads and checks the resource of size bytes. Refused
    // (false) unless: the header fits; version is non-zero; header size is at
    // least 36; kind and bits are one of (0, 8), (0, 24), (1, 8), (1, 24),
    // (2, 0); width and height are both positive; for 8 bits, 0 to 256
    // palette entries lie inside the resource and every palette index of the
    // pixel data names one of them; and the pixel data lies inside the
    // resource. No sum or product can overflow.
    static bool parse(const void* data, std::size_t size, ApicImage& out);
    // [any thread] parse on the module's resource of type "APIC" and that name.
    static bool find(const std::string& name, ApicImage& out);

    // Bytes per pixel of this kind and depth.
    int pixel_bytes() const;
};

} // namespace pengui
