#pragma once

#include "pengui/Rect.h"

#include <cstdint>

namespace pengui {

// How many device pixels one logical pixel of a scene covers: 1, 1.5 or 2,
// the scales the skin is drawn at. Layouts are written in logical pixels;
// a coordinate v becomes the device pixel floor(v x factor + 0.5), and a
// rectangle its four sides that way, so boxes that share an edge in logical
// pixels share it in device pixels too: no gap, no overlap.
class Scale {
public:
    // The scales there are, smallest first.
    static const Scale all[3];

    // [any thread] Scale 1.
    constexpr Scale() = default;
    // [any thread] The largest scale not above factor (1 for anything smaller,
    // and for a factor that is no number).
    static Scale at_most(double factor);
    // [any thread] From a screen's dots per inch, 96 being scale 1: 144 and
    // more give 1.5, 192 and more 2.
    static Scale for_dpi(double dpi) { return at_most(dpi / 96.0); }
    // [any thread] "1", "1.5" or "2" (any number that is exactly one of them);
    // false, out unchanged, for any other text.
    static bool parse(const char* text, Scale& out);

    // [any thread]
    double factor() const { return halves_ / 2.0; }
    // [any thread] The device pixel of logical coordinate v.
    std::int32_t device(std::int32_t v) const;
    // [any thread] A logical rectangle in device pixels, side by side.
    Rect device(const Rect& r) const;
    // [any thread] The text resource names of this scale end with: "" at 1,
    // "-1.5x" and "-2x".
    const char* suffix() const;

    bool operator==(const Scale& o) const { return halves_ == o.halves_; }
    bool operator!=(const Scale& o) const { return halves_ != o.halves_; }

private:
    constexpr explicit Scale(int halves) : halves_(halves) {}

    int halves_ = 2; // the factor times 2
};

// [any thread] The scale the user asked for with the environment variable
// QUEVRIN_SCALE (a number; the largest scale not above it): true with `out`
// set, or false when the variable is unset or holds no number.
bool scale_from_environment(Scale& out);

} // namespace pengui
