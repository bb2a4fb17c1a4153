#include "support/AtomImage.h"

#include <lv2/atom/atom.h>
#include <lv2/time/time.h>

#include <cstring>

AtomImage::Urids::Urids(LV2_URID_Map* map) {
    auto id = [map](const char* uri) { return map->map(map->handle, uri); };
    sequence = id(LV2_ATOM__Sequence);
    object = id(LV2_ATOM__Object);
    blank = id(LV2_ATOM__Blank);
    position = id(LV2_TIME__Position);
    bpm = id(LV2_TIME__beatsPerMinute);
    speed = id(LV2_TIME__speed);
    float_type = id(LV2_ATOM__Float);
    double_type = id(LV2_ATOM__Double);
    int_type = id(LV2_ATOM__Int);
    long_type = id(LV2_ATOM__Long);
}

namespace {

template <class T>
void append(std::vector<std::uint8_t>& bytes, T v) {
    std::uint8_t raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof(T));
    bytes.insert(bytes.end(), raw, raw + sizeof(T));
}

} // namespace

AtomImage& AtomImage::u32(std::uint32_t v) {
    append(bytes_, v);
    return *this;
}

AtomImage& AtomImage::i64(std::int64_t v) {
    append(bytes_, v);
    return *this;
}

AtomImage& AtomImage::f32(float v) {
    append(bytes_, v);
    return *this;
}

AtomImage& AtomImage::f64(double v) {
    append(bytes_, v);
    return *this;
}

AtomImage& AtomImage::pad() {
    while (bytes_.size() % 8 != 0) {
        bytes_.push_back(0);
    }
    return *this;
}

AtomImage& AtomImage::sequence_header(std::uint32_t size, std::uint32_t type) {
    u32(size).u32(type != 0 ? type : u_.sequence);
    return u32(0).u32(0); // unit, pad
}

AtomImage& AtomImage::sized() {
    const auto size = std::uint32_t(bytes_.size() - sizeof(LV2_Atom));
    std::memcpy(bytes_.data(), &size, sizeof size);
    return *this;
}

AtomImage& AtomImage::position_event(double bpm, std::uint32_t value_type) {
    const std::uint32_t value_size =
        value_type == u_.double_type || value_type == u_.long_type ? 8 : 4;
    // Object body: id, otype; one property: key, context, value atom.
    const std::uint32_t object_size = 8 + 16 + value_size;
    i64(0).u32(object_size).u32(u_.object);
    u32(0).u32(u_.position);
    u32(u_.bpm).u32(0).u32(value_size).u32(value_type);
    if (value_type == u_.double_type) {
        f64(bpm);
    } else if (value_type == u_.long_type) {
        i64(std::int64_t(bpm));
    } else if (value_type == u_.int_type) {
        u32(std::uint32_t(std::int32_t(bpm)));
    } else {
        f32(float(bpm));
    }
    return pad();
}

std::vector<std::uint8_t> AtomImage::positions(const Urids& u, const std::vector<double>& bpms) {
    AtomImage image(u);
    image.sequence_header();
    for (const double bpm : bpms) {
        image.position_event(bpm, u.float_type);
    }
    return image.sized().bytes();
}
