#include "TestSignal.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double seconds = 3.0;

double sample_at(long frame, int channel, DWORD rate, std::uint32_t& noise) {
    const double t = static_cast<double>(frame) / rate;
    // A burst every half second (every 0.6 s on the right), decaying in 80 ms.
    const double period = channel == 0 ? 0.5 : 0.6;
    const double since = std::fmod(t, period);
    const double frequency = channel == 0 ? 440.0 : 587.33;
    double x = 0.5 * std::exp(-since / 0.08) * std::sin(2.0 * M_PI * frequency * since);
    // Single-sample clicks.
    const long click_period = static_cast<long>(0.37 * rate);
    if (frame % click_period == 0) {
        x += channel == 0 ? 0.3 : -0.3;
    }
    noise = noise * 1664525u + 1013904223u; // a fixed linear congruential sequence
    x += 0.01 * (static_cast<double>(noise >> 8) / 8388608.0 - 1.0);
    return x;
}

void append_integer(std::vector<BYTE>& data, double x, WORD bits) {
    const double full_scale = bits == 16 ? 32767.0 : 8388607.0;
    const auto value = static_cast<std::int32_t>(std::lround(x * full_scale));
    for (int byte = 0; byte < bits / 8; ++byte) {
        data.push_back(static_cast<BYTE>((static_cast<std::uint32_t>(value) >> (8 * byte)) & 0xFF));
    }
}

void append_float(std::vector<BYTE>& data, double x) {
    const auto value = static_cast<float>(x);
    BYTE bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    data.insert(data.end(), bytes, bytes + sizeof value);
}

} // namespace

WavFile make_test_signal(WORD format_tag, WORD bits, WORD channels, DWORD rate) {
    WavFile wav;
    wav.format_tag = format_tag;
    wav.bits = bits;
    wav.channels = channels;
    wav.rate = rate;
    const long frames = static_cast<long>(seconds * rate);
    std::uint32_t noise[2] = {1, 2};
    for (long frame = 0; frame < frames; ++frame) {
        for (int channel = 0; channel < channels; ++channel) {
            const double x = sample_at(frame, channel, rate, noise[channel]);
            if (format_tag == WAVE_FORMAT_IEEE_FLOAT) {
                append_float(wav.data, x);
            } else {
                append_integer(wav.data, x, bits);
            }
        }
    }
    return wav;
}
