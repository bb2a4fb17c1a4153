// The control ports a host shows: ranges, units and choices come from the
// parameters, and every value the built-in programs hold crosses a port exactly.
#include "host/lv2/QuevrinLv2.h"
#include "mppi/preset/BankFile.h"
#include "mppi/preset/BankManager.h"
#include "sys/Resource.h"

#include <gtest/gtest.h>

#include <set>

using namespace host::lv2;

namespace {

const ControlPort* find_port(const QuevrinLv2& plugin, const std::string& name) {
    for (const ControlPort& p : plugin.control_ports()) {
        if (p.name() == name) {
            return &p;
        }
    }
    return nullptr;
}

TEST(ControlPort, every_port_holds_its_default_within_its_range_under_a_unique_symbol) {
    QuevrinLv2 plugin(48000.0, nullptr);
    ASSERT_EQ(plugin.control_ports().size(), 121u);
    std::set<std::string> symbols;
    for (const ControlPort& p : plugin.control_ports()) {
        SCOPED_TRACE(p.name());
        EXPECT_TRUE(symbols.insert(p.symbol()).second);
        EXPECT_LT(p.minimum(), p.maximum());
        EXPECT_GE(p.default_value(), p.minimum());
        EXPECT_LE(p.default_value(), p.maximum());
    }
}

TEST(ControlPort, shows_each_parameter_in_the_unit_users_read) {
    struct Case {
        const char* name;
        const char* unit;
        ControlPort::Kind kind;
        bool logarithmic;
        float minimum;
        float maximum;
        std::vector<std::string> choices;
    };
    using K = ControlPort::Kind;
    const Case cases[] = {
        {"Flags", "", K::integer, false, 0.0f, 255.0f, {}},
        {"Tempo", "bpm", K::plain, false, 60.0f, 240.0f, {}},
        {"D1 level", "db", K::decibel, false, -100.0f, 12.0412f, {}},
        {"D2 filt reso", "db", K::decibel, false, -24.0824f, 24.0824f, {}},
        {"Tap 3 pan", "pc", K::percent, false, -100.0f, 100.0f, {}},
        {"D1 time", "beat", K::plain, true, 0.0078125f, 4.0f, {}},
        {"Tap 1 time", "beat", K::plain, false, 0.0f, 4.0f, {}},
        {"D2 filt cutoff", "hz", K::plain, true, 40.0f, 10240.0f, {}},
        {"D1 HS cutoff", "hz", K::plain, true, 200.0f, 20000.0f, {}},
        {"D1 filt Q", "", K::plain, true, 0.1f, 10.0f, {}},
        {"D1 filt type",
         "",
         K::enumeration,
         false,
         0.0f,
         3.0f,
         {"Low-pass", "High-pass", "Resonator", "Band-pass"}},
        {"D2 disto type", "", K::enumeration, false, 0.0f, 1.0f, {"Overdrive", "Puncher"}},
    };
    QuevrinLv2 plugin(48000.0, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ControlPort* p = find_port(plugin, c.name);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->unit(), c.unit);
        EXPECT_EQ(p->kind(), c.kind);
        EXPECT_EQ(p->logarithmic(), c.logarithmic);
        EXPECT_NEAR(p->minimum(), c.minimum, 1e-3);
        EXPECT_NEAR(p->maximum(), c.maximum, 1e-3);
        std::vector<std::string> labels;
        for (const auto& s : p->scale_points()) {
            labels.push_back(s.label);
        }
        EXPECT_EQ(labels, c.choices);
    }
    // The LFO waveforms are ten choices.
    const ControlPort* wf = find_port(plugin, "D1 time LFO WF");
    ASSERT_NE(wf, nullptr);
    EXPECT_EQ(wf->scale_points().size(), 10u);
    EXPECT_TRUE(wf->integer());
}

// Hosts send fractions even to a list of choices: the nearest choice is
// taken, and a list shows only whole choices.
TEST(ControlPort, a_list_of_choices_takes_and_shows_whole_choices) {
    struct Case {
        const char* name;
        float sent;
        float shown;
    };
    const Case cases[] = {{"D1 filt type", 0.25f, 0.0f},  {"D1 filt type", 2.6f, 3.0f},
                          {"D2 disto type", 0.25f, 0.0f}, {"D2 disto type", 0.75f, 1.0f},
                          {"D1 time LFO WF", 8.4f, 8.0f}, {"Tap 3 pan LFO WF", 0.5f, 1.0f}};
    QuevrinLv2 plugin(48000.0, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.sent));
        const ControlPort* p = find_port(plugin, c.name);
        ASSERT_NE(p, nullptr);
        EXPECT_TRUE(p->integer());
        EXPECT_EQ(p->to_port(p->to_normalized(c.sent)), c.shown);
    }
    // A blend of the two distortion curves (a morph's) shows as the nearer.
    EXPECT_EQ(find_port(plugin, "D1 disto type")->to_port(0.4f), 0.0f);
}

TEST(ControlPort, every_value_of_the_built_in_programs_crosses_a_port_unchanged) {
    QuevrinLv2 plugin(48000.0, nullptr);
    int exact = 0;
    int total = 0;
    for (const char* name : {"static_presets", "default_preset_bank"}) {
        std::size_t size = 0;
        const void* data = sys::get_ressource("VNPB", name, &size);
        mppi::BankManager bank;
        ASSERT_EQ(mppi::load_bank_memory(data, size, bank, false), mppi::bank_ok);
        for (int p = 0; p < bank.get_nbr_progs(); ++p) {
            const mppi::ProgramSlot& program = bank.use_prog(p);
            for (int i = 0; i < 121; ++i) {
                const ControlPort& port = plugin.control_ports()[static_cast<std::size_t>(i)];
                const float n = program.get_value(i);
                const float back = port.to_normalized(port.to_port(n));
                // Where a float port is coarser than the normalized value (the
                // shortest line times), the value comes back as the same port value.
                EXPECT_TRUE(back == n || port.to_port(back) == port.to_port(n))
                    << program.get_prog_name() << ", " << port.name();
                exact += back == n ? 1 : 0;
                ++total;
            }
        }
    }
    // All but a handful of the 42 x 121 values come back bit for bit.
    EXPECT_GE(exact, total - 8);
}

} // namespace
