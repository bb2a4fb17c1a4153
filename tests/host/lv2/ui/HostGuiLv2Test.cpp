// The UI's side of the ports: editor changes become port writes in the port's
// unit that the plug-in reads back as the very same normalized value; port
// values from the host reach the model and the editor; a program writes
// exactly the ports it changes and never the host's tempo; the tempo shown is
// the one the plug-in runs at.
#include "host/lv2/ui/HostGuiLv2.h"
#include "effect/Algo.h"
#include "host/lv2/HostDspLv2.h"
#include "host/lv2/QuevrinLv2.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/preset/ProgramSlot.h"
#include "support/FakeGui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

using namespace host::lv2;
using namespace host::lv2::ui;

namespace {

double fake_now = 0.0;

struct Write {
    std::uint32_t port;
    float value;
};

// The model and its ports as the UI wires them, the editor a recording stand-in.
class UiPorts : public ::testing::Test {
protected:
    UiPorts() {
        fake_now = 100.0;
        model.set_host(std::make_unique<HostDspLv2>());
        model.init();
        ports = control_ports_of(model);
        host = new HostGuiLv2(
            model, ports,
            [](LV2UI_Controller c, uint32_t port, uint32_t size, uint32_t protocol,
               const void* buffer) {
                EXPECT_EQ(size, sizeof(float));
                EXPECT_EQ(protocol, 0u);
                static_cast<std::vector<Write>*>(c)->push_back(
                    {port, *static_cast<const float*>(buffer)});
            },
            &writes, nullptr, [] { return fake_now; });
        gui.set_host(host);
        host->set_gui(&gui);
        feedback = index_of("d1_fdbk");
    }

    int index_of(const char* symbol) const {
        for (std::size_t i = 0; i < ports.size(); ++i) {
            if (ports[i].symbol() == symbol) {
                return static_cast<int>(i);
            }
        }
        ADD_FAILURE() << "no port " << symbol;
        return 0;
    }
    float shown(int index) {
        return ports[index].to_port(model.get_param(index)->get_normalized());
    }
    void host_sends(int index, float value) {
        host->port_event(static_cast<std::uint32_t>(index), sizeof value, 0, &value);
    }

    effect::Algo model;
    std::vector<ControlPort> ports;
    FakeGui gui;
    HostGuiLv2* host = nullptr; // the GUI's
    std::vector<Write> writes;
    int feedback = 0;
};

// The waiting of host values is the parameter-write protocol's (ParamWriter);
// here, what the ports add to it: values in the port's unit, and an echo of
// the editor's write, rounded as hosts keep it, counting as that write.
TEST_F(UiPorts, port_values_reach_the_editor_and_an_echo_of_its_own_write_changes_nothing) {
    host_sends(feedback, 70.0f);
    EXPECT_NEAR(shown(feedback), 70.0f, 1e-4f);
    ASSERT_EQ(gui.changes.size(), 1u);
    EXPECT_EQ(gui.changes.back().priority, 1);

    const float written = ports[feedback].to_normalized(60.0f);
    ASSERT_TRUE(host->set_param(feedback, written, 200));
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].port, static_cast<std::uint32_t>(feedback));
    EXPECT_NEAR(writes[0].value, 60.0f, 1e-4f);
    fake_now += 10.0; // long after the write: nothing holds the parameter
    host_sends(feedback, writes[0].value + 2e-5f);
    host->apply_held();
    EXPECT_EQ(model.get_param(feedback)->get_normalized(), written);
    EXPECT_EQ(gui.changes.size(), 2u) << "no refresh after the write";
}

TEST_F(UiPorts, a_program_writes_the_ports_it_changes_as_the_plugin_reads_them_back) {
    // The plug-in's own ports, converting what the UI writes.
    effect::Algo plugin;
    plugin.set_host(std::make_unique<HostDspLv2>());
    plugin.init();
    const std::vector<ControlPort> plugin_ports = control_ports_of(plugin);

    mppi::ProgramSlot program;
    model.store_prog(program);
    const int pan = index_of("d1_pan");
    const int cutoff = index_of("d1_filt_cutoff");
    program.set_value(feedback, 0.8125f);
    program.set_value(pan, 0.1f);
    program.set_value(cutoff, 0.337f);
    program.set_value(1, 0.9f); // the tempo: the host's, not the program's
    program.set_value(2, std::numeric_limits<float>::quiet_NaN()); // damaged
    host->set_prog(program, 150);

    std::vector<std::pair<int, float>> expected = {
        {pan, 0.1f}, {feedback, 0.8125f}, {cutoff, 0.337f}};
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(writes.size(), expected.size());
    for (std::size_t w = 0; w < writes.size(); ++w) {
        const auto [index, normalized] = expected[w];
        EXPECT_EQ(writes[w].port, static_cast<std::uint32_t>(index));
        EXPECT_EQ(plugin_ports[index].to_normalized(writes[w].value), normalized) << index;
    }
    // The editor hears every parameter at the morph's priority, as the model took it.
    const auto& changes = gui.changes;
    ASSERT_EQ(changes.size(), ports.size());
    for (const auto& c : changes) {
        EXPECT_EQ(c.priority, 150);
        EXPECT_EQ(c.normalized, model.get_param(c.index)->get_normalized());
        EXPECT_FALSE(std::isnan(c.normalized));
    }
}

TEST_F(UiPorts, the_tempo_shown_is_the_plugins_tempo_in_use_not_the_tempo_port) {
    const auto send = [&](std::uint32_t port, float bpm) {
        host->port_event(port, sizeof bpm, 0, &bpm);
        return shown(1);
    };
    EXPECT_NEAR(send(QuevrinLv2::port_tempo_in_use, 140.0f), 140.0f, 1e-3f);
    EXPECT_NEAR(send(QuevrinLv2::port_tempo, 90.0f), 140.0f, 1e-3f);
    EXPECT_TRUE(writes.empty());
}

} // namespace
