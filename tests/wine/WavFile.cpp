#include "WavFile.h"

#include <fstream>

namespace {

void put(std::string& out, DWORD value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

} // namespace

bool WavFile::write(const std::string& path) const {
    const DWORD size = static_cast<DWORD>(data.size());
    std::string header = "RIFF";
    put(header, 4 + 24 + 8 + size + (size & 1), 4);
    header += "WAVEfmt ";
    put(header, 16, 4);
    put(header, format_tag, 2);
    put(header, channels, 2);
    put(header, rate, 4);
    put(header, rate * block_align(), 4);
    put(header, block_align(), 2);
    put(header, bits, 2);
    header += "data";
    put(header, size, 4);
    std::ofstream file(path, std::ios::binary);
    file.write(header.data(), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(size));
    if (size & 1) {
        file.put('\0');
    }
    return static_cast<bool>(file);
}
