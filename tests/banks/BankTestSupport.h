#pragma once

// Shared by the bank tests: the committed bank sources and files, the
// embedded bank resources, and an engine playing one program.
#include "mppi/preset/BankFile.h"
#include "mppi/preset/BankManager.h"
#include "support/EngineHarness.h"
#include "sys/Resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace banks {

struct BuiltInBank {
    const char* name; // resource name and file stem under resources/banks
    int programs;
};
constexpr BuiltInBank built_in[] = {{"default_preset_bank", 8}, {"static_presets", 34}};

inline std::string bank_path(const std::string& file) {
    const char* root = std::getenv("QUEVRIN_SOURCE_DIR");
    return std::string(root ? root : ".") + "/resources/banks/" + file;
}

inline std::vector<unsigned char> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<unsigned char> resource_bytes(const std::string& name) {
    std::size_t size = 0;
    const auto* data = static_cast<const unsigned char*>(sys::get_ressource("VNPB", name, &size));
    return data ? std::vector<unsigned char>(data, data + size) : std::vector<unsigned char>{};
}

// The embedded bank, decoded as the plug-in decodes it (no structure check).
inline mppi::BankManager embedded_bank(const std::string& name) {
    const std::vector<unsigned char> bytes = resource_bytes(name);
    mppi::BankManager bank;
    EXPECT_EQ(mppi::load_bank_memory(bytes.data(), bytes.size(), bank, false), mppi::bank_ok)
        << name;
    return bank;
}

// The program of that name; fails the test when there is none.
inline mppi::ProgramSlot find_program(const mppi::BankManager& bank, const std::string& name) {
    for (int i = 0; i < bank.get_nbr_progs(); ++i)
        if (bank.use_prog(i).get_prog_name() == name)
            return bank.use_prog(i);
    ADD_FAILURE() << "no program " << name;
    return {};
}

// An engine at `rate` that has just loaded the program, as a host recalls it.
class ProgramEngine : public test::Engine {
public:
    ProgramEngine(const mppi::ProgramSlot& program, float rate) : test::Engine(rate) {
        algo.load_prog(program);
    }
    // Samples in `beats` at the program's tempo.
    std::size_t frames(double beats, float rate) {
        return std::size_t(beats * 60.0 / param("Tempo").get_internal() * rate + 0.5);
    }
};

} // namespace banks
