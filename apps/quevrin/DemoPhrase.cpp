#include "DemoPhrase.h"

#include <cmath>

namespace {

struct Note {
    double start; // seconds
    double pitch; // semitones from A4
    double pan;   // -1 left .. 1 right
};

// A pentatonic figure that leaves room for the echoes between its notes.
const Note notes[] = {
    {0.00, -9, -0.3}, {0.25, -5, 0.2}, {0.50, -2, -0.1}, {0.75, 0, 0.3},
    {1.25, 3, -0.2},  {1.50, 0, 0.1},  {1.75, -2, -0.3}, {2.25, -9, 0.0},
};
constexpr double length = 4.0;
constexpr double note_length = 0.6;

} // namespace

std::vector<float> DemoPhrase::render() {
    const int frames = int(length * rate);
    std::vector<float> out(std::size_t(frames) * channels, 0.0f);
    for (const Note& n : notes) {
        const double f = 440.0 * std::pow(2.0, n.pitch / 12.0);
        const int first = int(n.start * rate);
        const int count = int(note_length * rate);
        const double left = std::sqrt((1.0 - n.pan) / 2.0);
        const double right = std::sqrt((1.0 + n.pan) / 2.0);
        for (int i = 0; i < count && first + i < frames; ++i) {
            const double t = double(i) / rate;
            // A pluck: bright at first, the upper partials dying faster.
            double v = 0.0;
            for (int h = 1; h <= 5; ++h)
                v += std::sin(2.0 * M_PI * f * h * t) * std::exp(-t * (4.0 + 3.0 * h)) / h;
            v *= 0.3 * std::min(1.0, t * 400.0); // a 2.5 ms attack
            const std::size_t k = std::size_t(first + i) * channels;
            out[k] += float(v * left);
            out[k + 1] += float(v * right);
        }
    }
    return out;
}
