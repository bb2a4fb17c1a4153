// The bank compiler: how a source reads, the one-line errors it reports, and
// that the committed and embedded banks are exactly what their sources give.
#include "bankc/BankCompiler.h"
#include "BankTestSupport.h"

#include "mppi/preset/ProgramSlot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// The values a program gets when its source lists nothing.
mppi::ProgramSlot defaults() {
    effect::Algo algo;
    algo.init();
    algo.reset();
    mppi::ProgramSlot slot;
    algo.store_prog(slot);
    return slot;
}

int index_of(const std::string& name) {
    effect::Algo algo;
    algo.init();
    for (int i = 0; i < algo.get_nbr_param(); ++i)
        if (algo.get_param(i)->get_name() == name)
            return i;
    ADD_FAILURE() << "no parameter " << name;
    return 0;
}

mppi::BankManager compiled(const std::string& source, int expected = 0) {
    bankc::BankCompiler compiler;
    mppi::BankManager bank;
    std::string error;
    EXPECT_TRUE(compiler.compile(source, "src.txt", expected, bank, error)) << error;
    return bank;
}

// A path in this process's own temporary folder, keeping the file's name.
std::string temp_path(const std::string& name) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("quevrin_bankc_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

TEST(BankCompiler, listed_values_apply_over_the_defaults_with_names_in_any_case) {
    const mppi::BankManager bank = compiled("# a comment\n\n[First]\n  d1 FDBK = 45 \n"
                                            "D1 time = 3/4\r\n[Second]\nD1 pan = L 50\n");
    ASSERT_EQ(bank.get_nbr_progs(), 2);
    const mppi::ProgramSlot base = defaults();
    const mppi::ProgramSlot& first = bank.use_prog(0);
    const mppi::ProgramSlot& second = bank.use_prog(1);
    EXPECT_EQ(first.get_prog_name(), "First");
    EXPECT_EQ(second.get_prog_name(), "Second");
    ASSERT_EQ(first.get_nbr_values(), 121);
    const int fdbk = index_of("D1 fdbk");
    const int pan = index_of("D1 pan");
    for (int i = 0; i < 121; ++i) {
        if (i != fdbk) {
            EXPECT_EQ(first.get_value(i), base.get_value(i)) << i;
        }
        if (i != pan) { // the second program starts again from the defaults
            EXPECT_EQ(second.get_value(i), base.get_value(i)) << i;
        }
    }
    EXPECT_FLOAT_EQ(first.get_value(fdbk), 0.45f);
    EXPECT_FLOAT_EQ(second.get_value(pan), 0.25f); // (-0.5 + 1) / 2
}

TEST(BankCompiler, the_flags_unit_reads_later_times_and_each_program_starts_in_beats) {
    const int time = index_of("D1 time");
    const auto beats_of = [](float normalized) { return std::exp2(9.0 * normalized - 7.0); };
    const mppi::BankManager bank = compiled("[Seconds]\nFlags = MS 1\nD1 time = 0.25\n"
                                            "[Beats]\nD1 time = 0.25\n"
                                            "[Late flags]\nD1 time = 0.25\nFlags = MS 2\n");
    EXPECT_NEAR(beats_of(bank.use_prog(0).get_value(time)), 0.5, 1e-5); // 0.25 s at 120 BPM
    EXPECT_NEAR(beats_of(bank.use_prog(1).get_value(time)), 0.25, 1e-5);
    EXPECT_NEAR(beats_of(bank.use_prog(2).get_value(time)), 0.25, 1e-5);
    EXPECT_FLOAT_EQ(bank.use_prog(0).get_value(0), 0.0f);           // MS 1: no bit set
    EXPECT_FLOAT_EQ(bank.use_prog(2).get_value(0), 32.0f / 256.0f); // MS 2
}

TEST(BankCompiler, an_lfo_is_stored_as_base_period_depth_and_waveform) {
    const int base = index_of("D1 fdbk");
    const mppi::BankManager bank =
        compiled("[Lfo]\nD1 fdbk LFO WF = Square\nD1 fdbk LFO depth = 60\n"
                 "D1 fdbk = 40\nD1 fdbk LFO period = 32\n");
    const mppi::ProgramSlot& p = bank.use_prog(0);
    EXPECT_FLOAT_EQ(p.get_value(base), 0.4f);
    EXPECT_FLOAT_EQ(p.get_value(base + 1), 11.0f / 14.0f);
    EXPECT_FLOAT_EQ(p.get_value(base + 2), 0.6f);
    EXPECT_FLOAT_EQ(p.get_value(base + 3), 2.0f / 9.0f);
}

TEST(BankCompiler, a_name_of_63_characters_is_kept_whole) {
    const std::string name(63, 'n');
    EXPECT_EQ(compiled("[" + name + "]\n").use_prog(0).get_prog_name(), name);
}

TEST(BankCompiler, reports_one_line_with_file_line_and_problem) {
    struct Case {
        const char* what;
        std::string source;
        int expected_programs;
        std::string message;
    };
    const std::string long_name(64, 'x');
    const Case cases[] = {
        {"unknown parameter", "[A]\nD1 fdbk = 10\nD3 fdbk = 10\n", 0,
         "src.txt:3: unknown parameter 'D3 fdbk'"},
        {"value not understood", "[A]\n# note\nD1 fdbk = lots\n", 0,
         "src.txt:3: value 'lots' not understood for D1 fdbk"},
        {"flags not shown", "[A]\nFlags = BT 3\n", 0,
         "src.txt:2: value 'BT 3' not understood for Flags"},
        {"waveform not shown", "[A]\nD1 time LFO WF = Wobble\n", 0,
         "src.txt:2: value 'Wobble' not understood for D1 time LFO WF"},
        {"pan without side", "[A]\nTap 1 pan = 50\n", 0,
         "src.txt:2: value '50' not understood for Tap 1 pan"},
        {"one too many", "[A]\n[B]\n\n[C]\n", 2,
         "src.txt:4: program 3 is one too many: this bank holds 2 programs"},
        {"too few", "[A]\n[B]\nD1 fdbk = 10\n", 3,
         "src.txt:3: this bank holds 3 programs, found 2"},
        {"no programs", "# nothing\n", 0, "src.txt:1: no programs"},
        {"name too long", "[A]\n[" + long_name + "]\n", 0,
         "src.txt:2: program name '" + long_name + "' is longer than 63 characters"},
        {"empty name", "[]\n", 0, "src.txt:1: empty program name"},
        {"duplicate name", "[Echo]\n[Dub]\n[Echo]\n", 0,
         "src.txt:3: duplicate program name 'Echo' (first at line 1)"},
        {"value before a program", "D1 fdbk = 10\n[A]\n", 0,
         "src.txt:1: parameter line before the first '[Program name]'"},
        {"neither header nor value", "[A]\nD1 fdbk 10\n", 0,
         "src.txt:2: expected '[Program name]' or 'Parameter name = value', got 'D1 fdbk 10'"},
    };
    bankc::BankCompiler compiler;
    for (const Case& c : cases) {
        mppi::BankManager bank;
        std::string error;
        EXPECT_FALSE(compiler.compile(c.source, "src.txt", c.expected_programs, bank, error))
            << c.what;
        EXPECT_EQ(error, c.message) << c.what;
        EXPECT_EQ(bank.get_nbr_progs(), 1) << c.what << ": the bank must stay as it was";
    }
}

TEST(BankCompiler, compile_file_fails_with_status_2_and_writes_nothing) {
    const std::string output = temp_path("never.vnpb");
    std::string error;
    EXPECT_EQ(bankc::compile_file("/nonexistent/static_presets.txt", output, error), 2);
    EXPECT_EQ(error, "/nonexistent/static_presets.txt: cannot be read");
    EXPECT_FALSE(std::filesystem::exists(output));

    // A source named as a built-in bank must hold that bank's count.
    const std::string source = temp_path("default_preset_bank.txt");
    std::FILE* f = std::fopen(source.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("[Only one]\n", f);
    std::fclose(f);
    EXPECT_EQ(bankc::compile_file(source, output, error), 2);
    EXPECT_EQ(error, source + ":1: this bank holds 8 programs, found 1");
    EXPECT_FALSE(std::filesystem::exists(output));
    std::filesystem::remove_all(std::filesystem::path(source).parent_path());
}

TEST(BankCompiler, committed_and_embedded_banks_are_what_the_sources_compile_to) {
    for (const banks::BuiltInBank& b : banks::built_in) {
        const std::string name = b.name;
        EXPECT_EQ(bankc::expected_program_count(banks::bank_path(name + ".txt")), b.programs);
        const std::string output = temp_path(name + ".vnpb");
        std::string error;
        ASSERT_EQ(bankc::compile_file(banks::bank_path(name + ".txt"), output, error), 0) << error;
        const std::vector<unsigned char> fresh = banks::file_bytes(output);
        std::filesystem::remove(output);

        EXPECT_EQ(fresh.size(), std::size_t(16 + 560 * b.programs)) << name;
        EXPECT_EQ(fresh, banks::file_bytes(banks::bank_path(name + ".vnpb")))
            << name << ": rebuild the committed bank with the 'banks' target";
        EXPECT_EQ(fresh, banks::resource_bytes(name)) << name << ": embedded resource differs";
    }
}

} // namespace
