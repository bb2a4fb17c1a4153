#pragma once

#include "mppi/preset/BankManager.h"
#include "mppi/preset/ProgramSlot.h"

#include <cstring>
#include <string>
#include <vector>

namespace preset_test {

// A program of `n` distinct values in [0, 1).
inline mppi::ProgramSlot make_prog(const std::string& name, int n, int seed = 0) {
    mppi::ProgramSlot prog;
    prog.set_prog_name(name);
    prog.set_nbr_values(n);
    for (int i = 0; i < n; ++i)
        prog.set_value(i, static_cast<float>((i * 37 + seed * 11) % 1000) / 1000.0f);
    return prog;
}

inline mppi::BankManager make_bank(int nbr_progs, int nbr_values) {
    mppi::BankManager bank;
    bank.set_nbr_progs(nbr_progs);
    for (int i = 0; i < nbr_progs; ++i)
        bank.set_prog(i, make_prog("Program " + std::to_string(i), nbr_values, i));
    return bank;
}

// Equal down to the float bit patterns, so NaNs and -0.0 count too.
inline bool same_prog(const mppi::ProgramSlot& a, const mppi::ProgramSlot& b) {
    return a.get_prog_name() == b.get_prog_name() && a.get_header_word() == b.get_header_word() &&
           a.get_nbr_values() == b.get_nbr_values() && a.extra() == b.extra() &&
           (a.values().empty() ||
            std::memcmp(a.values().data(), b.values().data(), a.values().size() * 4) == 0);
}

inline bool same_bank(const mppi::BankManager& a, const mppi::BankManager& b) {
    if (a.get_nbr_progs() != b.get_nbr_progs())
        return false;
    for (int i = 0; i < a.get_nbr_progs(); ++i) {
        if (!same_prog(a.use_prog(i), b.use_prog(i)))
            return false;
    }
    return true;
}

template <class T>
std::vector<unsigned char> encode(const T& object) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(object.get_size()));
    object.write(bytes.data());
    return bytes;
}

} // namespace preset_test
