// A RIFF WAVE file in memory: the fmt chunk's fields and the data bytes.
#pragma once

#include <windows.h>

#include <mmreg.h>

#include <string>
#include <vector>

struct WavFile {
    WORD format_tag = WAVE_FORMAT_PCM;
    WORD channels = 2;
    DWORD rate = 44100;
    WORD bits = 16;
    std::vector<BYTE> data;

    // Writes a plain 16-byte fmt chunk and the data chunk; false on an I/O error.
    bool write(const std::string& path) const;
    // Bytes of one frame.
    WORD block_align() const { return static_cast<WORD>(channels * ((bits + 7) / 8)); }
};
