// The program store/load seam and its linear interpolation: capture from the
// DSP, programs sent to the host with priority 150, bank copies, and mixing
// of programs of unequal length.
#include "PresetFakes.h"
#include "PresetTestData.h"

#include "mppi/preset/ProgStLdDefault.h"

#include <gtest/gtest.h>

using namespace mppi;
using namespace preset_test;

namespace {

class Refusing : public ProgStLdInterface {
public:
    using ProgStLdInterface::ProgStLdInterface;
    int interpolate(ProgramSlot&, const ProgramSlot&, const ProgramSlot&, double) override {
        return -1;
    }
};

ProgramSlot prog_of(std::vector<float> values) {
    ProgramSlot prog;
    prog.set_nbr_values(static_cast<int>(values.size()));
    for (int i = 0; i < prog.get_nbr_values(); ++i)
        prog.set_value(i, values[static_cast<std::size_t>(i)]);
    return prog;
}

struct Seam : ::testing::Test {
    BankManager bank = make_bank(8, 121);
    FakeHostGui host;
    FakeDsp dsp;
    ProgStLdDefault seam{bank, host, dsp};
};

} // namespace

TEST_F(Seam, capture_takes_the_dsp_program_name_and_values_in_index_order) {
    ProgramSlot slot;
    seam.capture(slot);
    EXPECT_TRUE(same_prog(slot, dsp.program));
}

TEST_F(Seam, send_names_the_mix_like_the_target_and_uses_priority_150) {
    ProgramSlot from = prog_of({0.2f, 0.0f, 1.0f});
    ProgramSlot to = prog_of({0.8f, 1.0f, 0.0f});
    from.set_prog_name("From");
    to.set_prog_name("Reverse - 1 beat");
    to.set_extra_size(2);
    to.extra()[0] = 3;
    ASSERT_EQ(seam.send(from, to, 0.5), 0);
    ASSERT_EQ(host.sent.size(), 1u);
    const ProgramSlot& mixed = host.sent[0].first;
    EXPECT_EQ(host.sent[0].second, 150);
    EXPECT_EQ(mixed.get_prog_name(), "Reverse - 1 beat");
    EXPECT_EQ(mixed.values(), (std::vector<float>{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(mixed.extra(), to.extra());

    Refusing refusing(bank, host, dsp);
    EXPECT_EQ(refusing.send(from, to, 0.5), -1);
    EXPECT_EQ(host.sent.size(), 1u);
}

TEST_F(Seam, stores_and_loads_through_the_bank) {
    const ProgramSlot stored = make_prog("Random phaser 2", 121, 5);
    seam.store_to_bank(6, stored);
    EXPECT_TRUE(same_prog(bank.use_prog(6), stored));
    ProgramSlot loaded;
    seam.load_from_bank(6, loaded);
    EXPECT_TRUE(same_prog(loaded, stored));
}

TEST_F(Seam, interpolates_linearly_at_the_ends_and_between) {
    const ProgramSlot from = prog_of({0.2f, 1.0f / 3.0f, 1e-40f, 1.0f});
    const ProgramSlot to = prog_of({0.8f, 0.9f, 0.0f, 0.0f});
    for (double x : {0.0, 0.25, 0.5, 1.0}) {
        ProgramSlot out = make_prog("Out", 7);
        ASSERT_EQ(seam.interpolate(out, from, to, x), 0);
        ASSERT_EQ(out.get_nbr_values(), 4);
        for (int i = 0; i < 4; ++i) {
            const double a = from.get_value(i);
            const double b = to.get_value(i);
            EXPECT_NEAR(out.get_value(i), a * (1.0 - x) + b * x, 1e-7) << x << " " << i;
        }
        // The ends are exact: no drift at the start or the end of a morph.
        const ProgramSlot& end = x == 0.0 ? from : to;
        if (x == 0.0 || x == 1.0) {
            EXPECT_TRUE(std::equal(out.values().begin(), out.values().end(), end.values().begin()));
        }
    }
}

// A damaged `from` may be shorter than `to`: the values it lacks are taken
// from `to`, and `out` always has `to`'s length, even when it is `from`.
TEST_F(Seam, a_short_from_program_leaves_missing_values_at_the_target) {
    struct Case {
        std::vector<float> from;
        std::vector<float> to;
        std::vector<float> expected;
    };
    const Case cases[] = {
        {{}, {0.4f, 0.6f}, {0.4f, 0.6f}},
        {{0.0f}, {1.0f, 0.6f, 0.2f}, {0.5f, 0.6f, 0.2f}},
        {{0.0f, 0.0f, 0.0f}, {1.0f}, {0.5f}},
    };
    for (const Case& c : cases) {
        ProgramSlot out;
        ASSERT_EQ(seam.interpolate(out, prog_of(c.from), prog_of(c.to), 0.5), 0);
        EXPECT_EQ(out.values(), c.expected);
        ProgramSlot in_place = prog_of(c.from);
        ASSERT_EQ(seam.interpolate(in_place, in_place, prog_of(c.to), 0.5), 0);
        EXPECT_EQ(in_place.values(), c.expected);
    }
}
