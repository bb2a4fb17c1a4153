#pragma once

#include <vector>

// The built-in demo: a short plucked melody, stereo, 44.1 kHz, made by code so
// that the program carries it without a file.
struct DemoPhrase {
    static constexpr int rate = 44100;
    static constexpr int channels = 2;

    // Interleaved stereo float frames.
    static std::vector<float> render();
};
