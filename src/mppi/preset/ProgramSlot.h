#pragma once

#include "basic/SerializableInterface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mppi {

// One program: a name, one normalized value per parameter in index order, and
// extra bytes carried along unchanged. Serialised as a big-endian record:
// header word, name field length (64), value count, extra length, the
// zero-terminated name, the values as float32 bit patterns, the extra bytes.
class ProgramSlot : public basic::SerializableInterface {
public:
    static constexpr int name_field_size = 64;
    static constexpr int header_size = 12;
    static constexpr std::size_t max_nbr_values = 0xFFFF;

    // Decodes one record of at most `size` bytes; -1 when its lengths run past
    // them (the slot is then unchanged).
    int read(const unsigned char* data, int size) override;
    // -1 when !fits_record().
    int write(unsigned char* buffer) const override;
    int get_size() const override;
    // Whether write() can encode the slot: a record counts values in 16 bits.
    bool fits_record() const { return values_.size() <= max_nbr_values; }

    // Copies values, extra data and name; the header word stays this slot's.
    void copy_from(const ProgramSlot& other);

    int get_nbr_values() const { return static_cast<int>(values_.size()); }
    // Grows with zeros or shrinks.
    void set_nbr_values(int n) { values_.resize(static_cast<std::size_t>(n), 0.0f); }
    float get_value(int i) const { return values_[static_cast<std::size_t>(i)]; }
    void set_value(int i, float v) { values_[static_cast<std::size_t>(i)] = v; }
    const std::vector<float>& values() const { return values_; }

    int get_extra_size() const { return static_cast<int>(extra_.size()); }
    void set_extra_size(int n) { extra_.resize(static_cast<std::size_t>(n), 0); }
    std::vector<unsigned char>& extra() { return extra_; }
    const std::vector<unsigned char>& extra() const { return extra_; }

    const std::string& get_prog_name() const { return name_; }
    void set_prog_name(const std::string& name) { name_ = name; }

    std::uint32_t get_header_word() const { return header_word_; }
    void set_header_word(std::uint32_t word) { header_word_ = word; }

private:
    std::vector<float> values_;
    std::vector<unsigned char> extra_;
    std::string name_ = "Default";
    std::uint32_t header_word_ = 0;
};

} // namespace mppi
