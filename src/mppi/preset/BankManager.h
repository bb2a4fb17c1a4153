#pragma once

#include "basic/SerializableInterface.h"
#include "mppi/preset/ProgramSlot.h"

#include <vector>

namespace mppi {

// An ordered bank of programs. Serialised as a big-endian payload: program
// count, stride (the size of one record), then every program record at that
// stride. All operations run on the editor thread and may allocate.
class BankManager : public basic::SerializableInterface {
public:
    static constexpr int header_size = 8;

    // Starts with one default program.
    BankManager();

    // Decodes a payload of at most `size` bytes. A count of 0, or one with its
    // top bit set, gives an empty bank. -1 when the records do not fit in the
    // payload or a record does not fit in its stride; the bank is then unchanged.
    int read(const unsigned char* data, int size) override;
    // Writes every record at the stride of the first program's size. -1, with
    // nothing written, when the programs' record sizes differ (a stride could
    // not hold them all) or a program cannot be encoded.
    int write(unsigned char* buffer) const override;
    int get_size() const override;

    // New programs are default slots; extra ones are dropped. Below 0 means 0.
    void set_nbr_progs(int n);
    int get_nbr_progs() const { return static_cast<int>(progs_.size()); }
    // Copies the slot's values, extra data and name into program `index`; the
    // bank's header word for that program stays.
    void set_prog(int index, const ProgramSlot& slot);
    // Copies program `index` into the slot, whose header word stays.
    void get_prog(int index, ProgramSlot& slot) const;
    ProgramSlot& use_prog(int index) { return progs_[static_cast<std::size_t>(index)]; }
    const ProgramSlot& use_prog(int index) const { return progs_[static_cast<std::size_t>(index)]; }

private:
    std::vector<ProgramSlot> progs_;
};

} // namespace mppi
