#include "mppi/preset/ProgramSlot.h"

#include "basic/BigEndian.h"

#include <algorithm>
#include <cstring>

namespace mppi {

int ProgramSlot::read(const unsigned char* data, int size) {
    if (data == nullptr || size < header_size)
        return -1;
    const std::uint32_t header_word = basic::read_u32(data);
    const std::uint64_t name_size = basic::read_u16(data + 4);
    const std::uint64_t count = basic::read_u16(data + 6);
    const std::uint64_t extra_size = basic::read_u32(data + 8);
    const std::uint64_t total = header_size + name_size + 4 * count + extra_size;
    if (total > static_cast<std::uint64_t>(size))
        return -1;

    const unsigned char* name = data + header_size;
    const void* end = std::memchr(name, 0, name_size);
    const std::size_t name_length =
        end != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(end) - name)
                       : name_size;

    // Decoded aside first, so a failed allocation leaves the slot as it was.
    std::string name_text(reinterpret_cast<const char*>(name), name_length);
    std::vector<float> values(count);
    const unsigned char* p = name + name_size;
    for (std::size_t i = 0; i < count; ++i, p += 4)
        values[i] = basic::read_f32(p);
    std::vector<unsigned char> extra(p, p + extra_size);

    header_word_ = header_word;
    name_.swap(name_text);
    values_.swap(values);
    extra_.swap(extra);
    return 0;
}

int ProgramSlot::write(unsigned char* buffer) const {
    if (!fits_record())
        return -1;
    basic::write_u32(buffer, header_word_);
    basic::write_u16(buffer + 4, name_field_size);
    basic::write_u16(buffer + 6, static_cast<std::uint16_t>(values_.size()));
    basic::write_u32(buffer + 8, static_cast<std::uint32_t>(extra_.size()));
    unsigned char* name = buffer + header_size;
    std::memset(name, 0, name_field_size);
    std::memcpy(name, name_.data(), std::min<std::size_t>(name_.size(), name_field_size - 1));
    unsigned char* p = name + name_field_size;
    for (float v : values_) {
        basic::write_f32(p, v);
        p += 4;
    }
    if (!extra_.empty())
        std::memcpy(p, extra_.data(), extra_.size());
    return 0;
}

int ProgramSlot::get_size() const {
    return header_size + name_field_size + 4 * get_nbr_values() + get_extra_size();
}

void ProgramSlot::copy_from(const ProgramSlot& other) {
    values_ = other.values_;
    extra_ = other.extra_;
    name_ = other.name_;
}

} // namespace mppi
