// Every program of the two embedded banks decodes to a complete, named
// program that plays safely; the default bank's programs are the same as
// their static counterparts.
#include "BankTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

namespace {

TEST(BuiltInBanks, every_program_is_complete_in_range_and_uniquely_named) {
    for (const banks::BuiltInBank& b : banks::built_in) {
        const mppi::BankManager bank = banks::embedded_bank(b.name);
        ASSERT_EQ(bank.get_nbr_progs(), b.programs) << b.name;
        std::set<std::string> names;
        for (int p = 0; p < bank.get_nbr_progs(); ++p) {
            const mppi::ProgramSlot& prog = bank.use_prog(p);
            const std::string& name = prog.get_prog_name();
            EXPECT_FALSE(name.empty()) << b.name << " program " << p;
            EXPECT_TRUE(names.insert(name).second) << b.name << ": " << name << " twice";
            EXPECT_EQ(prog.get_header_word(), 0u) << name;
            EXPECT_EQ(prog.get_extra_size(), 0) << name;
            ASSERT_EQ(prog.get_nbr_values(), 121) << name;
            for (int i = 0; i < 121; ++i) {
                EXPECT_GE(prog.get_value(i), 0.0f) << name << " value " << i;
                EXPECT_LE(prog.get_value(i), 1.0f) << name << " value " << i;
            }
        }
    }
}

TEST(BuiltInBanks, static_presets_hold_the_named_classics) {
    const mppi::BankManager bank = banks::embedded_bank("static_presets");
    for (const char* name :
         {"Simple delay - 3/4 beat", "Simple delay - LPF LFO", "Ping-pong delay - 3/4 beat",
          "Ping-pong delay - 1/4 beat", "Reverse - 2 beats", "Reverse - 1 beat",
          "Reverse - 1/2 beat", "Random phaser 1", "Random phaser 2"})
        EXPECT_EQ(banks::find_program(bank, name).get_prog_name(), name);
}

TEST(BuiltInBanks, default_programs_equal_their_static_counterparts) {
    const mppi::BankManager defaults = banks::embedded_bank("default_preset_bank");
    const mppi::BankManager statics = banks::embedded_bank("static_presets");
    for (int p = 0; p < defaults.get_nbr_progs(); ++p) {
        const mppi::ProgramSlot& prog = defaults.use_prog(p);
        EXPECT_EQ(prog.values(), banks::find_program(statics, prog.get_prog_name()).values())
            << prog.get_prog_name();
    }
}

// 4 s of noise through every program: finite, bounded, and audible unless
// the program only loops what its line already holds (sustain).
TEST(BuiltInBanks, every_program_renders_noise_finite_bounded_and_audible) {
    constexpr float rate = 44100.0f;
    const test::Stereo input = test::noise(std::size_t(4 * rate));
    for (const banks::BuiltInBank& b : banks::built_in) {
        const mppi::BankManager bank = banks::embedded_bank(b.name);
        for (int p = 0; p < bank.get_nbr_progs(); ++p) {
            const mppi::ProgramSlot& prog = bank.use_prog(p);
            banks::ProgramEngine engine(prog, rate);
            const bool sustains = (int(engine.param("Flags").get_internal()) & 16) != 0;
            const test::Stereo out = engine.render(input, 256);
            float peak = 0.0f;
            double energy = 0.0;
            bool finite = true;
            for (const auto* channel : {&out.left, &out.right})
                for (float x : *channel) {
                    finite = finite && std::isfinite(x);
                    peak = std::max(peak, std::abs(x));
                    energy += double(x) * x;
                }
            const double rms = std::sqrt(energy / (2.0 * out.size()));
            EXPECT_TRUE(finite) << prog.get_prog_name();
            EXPECT_LT(peak, 8.0f) << prog.get_prog_name();
            if (!sustains) {
                EXPECT_GT(rms, 0.05) << prog.get_prog_name();
            }
        }
    }
}

// After a burst, every program dies away unless it is meant to hold: a
// sustain loop, or a line fed back at 97 % or more (a looper). A resonance or
// a comb that keeps ringing on its own would fail here.
TEST(BuiltInBanks, every_program_not_meant_to_hold_dies_away) {
    constexpr float rate = 44100.0f;
    test::Stereo input = test::noise(std::size_t(12 * rate));
    std::fill(input.left.begin() + long(rate / 2), input.left.end(), 0.0f);
    std::fill(input.right.begin() + long(rate / 2), input.right.end(), 0.0f);
    const mppi::BankManager bank = banks::embedded_bank("static_presets");
    for (int p = 0; p < bank.get_nbr_progs(); ++p) {
        const mppi::ProgramSlot& prog = bank.use_prog(p);
        banks::ProgramEngine engine(prog, rate);
        const bool holds = (int(engine.param("Flags").get_internal()) & 16) != 0 ||
                           engine.param("D1 fdbk").get_internal() >= 0.97 ||
                           engine.param("D2 fdbk").get_internal() >= 0.97;
        if (holds)
            continue;
        const test::Stereo out = engine.render(input, 256);
        double energy = 0.0;
        for (std::size_t i = out.size() - std::size_t(rate); i < out.size(); ++i)
            energy += double(out.left[i]) * out.left[i] + double(out.right[i]) * out.right[i];
        EXPECT_LT(std::sqrt(energy / (2.0 * rate)), 1e-3) << prog.get_prog_name();
    }
}

} // namespace
