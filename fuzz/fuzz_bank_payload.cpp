// Bank payloads from outside: a payload either decodes within its bytes or
// leaves the bank as it was; a decoded bank that can be encoded re-encodes to
// a payload of get_size() bytes that decodes to the same number of programs.
#include "mppi/preset/BankManager.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

using mppi::BankManager;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20)
        return 0;
    BankManager bank;
    bank.set_nbr_progs(2);
    bank.use_prog(1).set_nbr_values(5);
    if (bank.read(data, static_cast<int>(size)) != 0) {
        if (bank.get_nbr_progs() != 2 || bank.use_prog(1).get_nbr_values() != 5)
            std::abort();
        return 0;
    }
    std::vector<unsigned char> payload(static_cast<std::size_t>(bank.get_size()));
    if (bank.write(payload.data()) != 0)
        return 0; // programs of different sizes: refused by design
    BankManager again;
    if (again.read(payload.data(), static_cast<int>(payload.size())) != 0 ||
        again.get_nbr_progs() != bank.get_nbr_progs())
        std::abort();
    return 0;
}
