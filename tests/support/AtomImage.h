#pragma once

#include <lv2/urid/urid.h>

#include <cstdint>
#include <vector>

// Atom sequences for the time port, built byte by byte so that any field,
// sizes included, can hold what a test wants, true or not.
class AtomImage {
public:
    // The URIDs an image uses, from the host's map.
    struct Urids {
        LV2_URID sequence, object, blank, position, bpm, speed, float_type, double_type, int_type,
            long_type;
        explicit Urids(LV2_URID_Map* map);
    };

    explicit AtomImage(const Urids& urids) : u_(urids) {}

    // Raw fields, native byte order.
    AtomImage& u32(std::uint32_t v);
    AtomImage& i64(std::int64_t v);
    AtomImage& f32(float v);
    AtomImage& f64(double v);
    // Zero bytes up to the next multiple of 8.
    AtomImage& pad();

    // A sequence header whose body size is `size` (what follows the 8-byte
    // atom header); sized() fills it in from what was written after it.
    AtomImage& sequence_header(std::uint32_t size = 0, std::uint32_t type = 0);
    // Sets the sequence's size to every byte after its header.
    AtomImage& sized();
    // One event at frame 0 holding a time:Position with a tempo property of
    // the given type (float, double or another).
    AtomImage& position_event(double bpm, std::uint32_t value_type);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    const Urids& urids() const { return u_; }

    // A well-formed sequence with one position per tempo (float).
    static std::vector<std::uint8_t> positions(const Urids& u, const std::vector<double>& bpms);

private:
    const Urids& u_;
    std::vector<std::uint8_t> bytes_;
};
