// Program records from outside (a host's persisted state): a record either
// decodes within its bytes or leaves the slot as it was; a decoded slot
// re-encodes to a record that decodes to the same values and extra data.
#include "mppi/preset/ProgramSlot.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using mppi::ProgramSlot;

static bool same_content(const ProgramSlot& a, const ProgramSlot& b) {
    return a.get_header_word() == b.get_header_word() && a.get_nbr_values() == b.get_nbr_values() &&
           (a.values().empty() ||
            std::memcmp(a.values().data(), b.values().data(), a.values().size() * 4) == 0) &&
           a.extra() == b.extra();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20)
        return 0;
    ProgramSlot slot;
    slot.set_nbr_values(3);
    const ProgramSlot before = slot;
    if (slot.read(data, static_cast<int>(size)) != 0) {
        if (!same_content(slot, before) || slot.get_prog_name() != before.get_prog_name())
            std::abort();
        return 0;
    }
    std::vector<unsigned char> record(static_cast<std::size_t>(slot.get_size()));
    if (slot.write(record.data()) != 0)
        std::abort();
    ProgramSlot again;
    if (again.read(record.data(), static_cast<int>(record.size())) != 0 ||
        !same_content(slot, again) || again.get_prog_name().size() > 63)
        std::abort();
    return 0;
}
