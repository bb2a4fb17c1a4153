#include "pengui/Scale.h"

#include <cmath>
#include <cstdlib>

namespace pengui {

const Scale Scale::all[3] = {Scale(2), Scale(3), Scale(4)};

Scale Scale::at_most(double factor) {
    if (factor >= 2.0) {
        return Scale(4);
    }
    return factor >= 1.5 ? Scale(3) : Scale(2);
}

bool Scale::parse(const char* text, Scale& out) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (*end != '\0') {
        return false;
    }
    for (const Scale& s : all) {
        if (value == s.factor()) {
            out = s;
            return true;
        }
    }
    return false;
}

std::int32_t Scale::device(std::int32_t v) const {
    // floor((v x halves + 1) / 2), in whole numbers: halves round upwards.
    const std::int64_t twice = std::int64_t{v} * halves_ + 1;
    return clamp32(twice >= 0 ? twice / 2 : -((1 - twice) / 2));
}

Rect Scale::device(const Rect& r) const {
    return Rect{device(r.x0), device(r.y0), device(r.x1), device(r.y1)};
}

const char* Scale::suffix() const {
    return halves_ == 4 ? "-2x" : halves_ == 3 ? "-1.5x" : "";
}

bool scale_from_environment(Scale& out) {
    const char* text = std::getenv("QUEVRIN_SCALE");
    if (text == nullptr || *text == '\0') {
        return false;
    }
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (*end != '\0' || std::isnan(value)) {
        return false;
    }
    out = Scale::at_most(value);
    return true;
}

} // namespace pengui
