#pragma once

#include <cstdint>
#include <cstring>

namespace basic {

// Big-endian fields of the program and bank records.
inline std::uint32_t read_u32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

inline std::uint16_t read_u16(const unsigned char* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline float read_f32(const unsigned char* p) {
    const std::uint32_t bits = read_u32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void write_u32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

inline void write_u16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
}

inline void write_f32(unsigned char* p, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    write_u32(p, bits);
}

} // namespace basic
