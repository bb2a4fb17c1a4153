// Bank containers from outside (bank files, resources): loading, with or
// without the structure check, gives success or one of the load codes, and a
// failed load leaves the bank as it was.
#include "mppi/preset/BankFile.h"
#include "mppi/preset/BankManager.h"

#include <cstdint>
#include <cstdlib>

using namespace mppi;

static bool is_load_code(int code) {
    switch (code) {
    case bank_ok:
    case bank_err_read_header:
    case bank_err_decode:
    case bank_err_magic:
    case bank_err_prog_count:
    case bank_err_value_count:
        return true;
    default:
        return false;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (bool check : {false, true}) {
        BankManager bank;
        bank.set_nbr_progs(8);
        bank.use_prog(7).set_nbr_values(121);
        bank.use_prog(7).set_prog_name("kept");
        const int code = load_bank_memory(data, size, bank, check);
        if (!is_load_code(code))
            std::abort();
        if (code != bank_ok &&
            (bank.get_nbr_progs() != 8 || bank.use_prog(7).get_nbr_values() != 121 ||
             bank.use_prog(7).get_prog_name() != "kept"))
            std::abort();
    }
    return 0;
}
