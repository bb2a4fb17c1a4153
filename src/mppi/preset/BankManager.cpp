#include "mppi/preset/BankManager.h"

#include "basic/BigEndian.h"

#include <algorithm>

namespace mppi {

BankManager::BankManager() : progs_(1) {}

int BankManager::read(const unsigned char* data, int size) {
    if (data == nullptr || size < header_size)
        return -1;
    const std::uint32_t count = basic::read_u32(data);
    const std::uint64_t stride = basic::read_u32(data + 4);
    if (count == 0 || (count & 0x80000000u) != 0) {
        progs_.clear();
        return 0;
    }
    // A stride shorter than a record header cannot hold a record; refusing it
    // here also bounds the count by the payload size before anything is
    // allocated.
    if (stride < ProgramSlot::header_size ||
        header_size + count * stride > static_cast<std::uint64_t>(size))
        return -1;

    std::vector<ProgramSlot> progs(count);
    const unsigned char* record = data + header_size;
    for (ProgramSlot& prog : progs) {
        if (prog.read(record, static_cast<int>(stride)) != 0)
            return -1;
        record += stride;
    }
    progs_.swap(progs);
    return 0;
}

int BankManager::write(unsigned char* buffer) const {
    const int stride = progs_.empty() ? 0 : progs_.front().get_size();
    for (const ProgramSlot& prog : progs_) {
        if (prog.get_size() != stride || !prog.fits_record())
            return -1;
    }
    basic::write_u32(buffer, static_cast<std::uint32_t>(progs_.size()));
    basic::write_u32(buffer + 4, static_cast<std::uint32_t>(stride));
    unsigned char* record = buffer + header_size;
    for (const ProgramSlot& prog : progs_) {
        prog.write(record);
        record += stride;
    }
    return 0;
}

int BankManager::get_size() const {
    const int stride = progs_.empty() ? 0 : progs_.front().get_size();
    return header_size + get_nbr_progs() * stride;
}

void BankManager::set_nbr_progs(int n) {
    progs_.resize(static_cast<std::size_t>(std::max(n, 0)));
}

void BankManager::set_prog(int index, const ProgramSlot& slot) {
    use_prog(index).copy_from(slot);
}

void BankManager::get_prog(int index, ProgramSlot& slot) const {
    slot.copy_from(use_prog(index));
}

} // namespace mppi
