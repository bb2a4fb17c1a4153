// The UI's side of the ports: editor changes become port writes in the port's
// unit that the plug-in reads back as the very same normalized value; port
// values from the host reach the model and the editor, except while an editor
// writer holds the parameter, when only the newest one waits for the hold to
// end and an editor write voids it; a program writes exactly the ports it
// changes and never the host's tempo; the tempo shown is the one the plug-in
// runs at.
#include "host/lv2/HostGuiLv2.h"
#include "effect/Algo.h"
#include "host/dx/HeadlessGui.h"
#include "host/lv2/HostDspLv2.h"
#include "host/lv2/QuevrinLv2.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/preset/ProgramSlot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

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
        model.set_host(new HostDspLv2);
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

    Algo model;
    std::vector<ControlPort> ports;
    HeadlessGui gui;
    HostGuiLv2* host = nullptr; // the GUI's
    std::vector<Write> writes;
    int feedback = 0;
};

TEST_F(UiPorts, host_values_wait_while_the_editor_holds_the_parameter_and_never_undo_its_writes) {
    enum class Act { editor, morph, release, host, idle };
    struct Step {
        double t;
        Act act;
        float value; // port value (percent); ignored by release and idle
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        float shown;                // the model's port value at the end
        std::vector<float> written; // the port writes, in order
        int refreshes;              // host values the editor was shown
    };
    const std::vector<Case> cases = {
        {"a host value nobody holds is taken at once", {{0, Act::host, 70}}, 70, {}, 1},
        {"the editor's own value coming back changes nothing",
         {{0, Act::editor, 60}, {0.1, Act::host, 60}, {1, Act::idle, 0}},
         60,
         {60},
         0},
        {"late echoes during a drag never pull the knob back",
         {{0, Act::editor, 60},
          {0.1, Act::editor, 65},
          {0.15, Act::host, 60},
          {0.2, Act::editor, 70},
          {0.25, Act::host, 65},
          {0.3, Act::host, 70},
          {1, Act::idle, 0}},
         70,
         {60, 65, 70},
         0},
        {"a host value during the hold applies when the hold ends",
         {{0, Act::editor, 60}, {0.2, Act::host, 40}, {0.4, Act::idle, 0}, {0.8, Act::idle, 0}},
         40,
         {60},
         1},
        {"an editor write after the held value wins",
         {{0, Act::editor, 60}, {0.2, Act::host, 40}, {0.3, Act::editor, 55}, {2, Act::idle, 0}},
         55,
         {60, 55},
         0},
        {"the end of the gesture ends the hold",
         {{0, Act::editor, 60}, {0.1, Act::release, 0}, {0.2, Act::host, 40}},
         40,
         {60},
         1},
        {"a morph step refused by the editor's claim writes nothing",
         {{0, Act::editor, 60}, {0.2, Act::morph, 30}},
         60,
         {60},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_now += 10.0; // every claim of the previous case has lapsed
        host_sends(feedback, 50.0f);
        writes.clear();
        const std::size_t told = gui.record()->param_changes.size();
        const double start = fake_now;
        for (const Step& s : c.steps) {
            fake_now = start + s.t;
            const float n = ports[feedback].to_normalized(s.value);
            switch (s.act) {
            case Act::editor:
                EXPECT_TRUE(host->set_param(feedback, n, 200));
                break;
            case Act::morph:
                EXPECT_FALSE(host->set_param(feedback, n, 150));
                break;
            case Act::release:
                host->release_param(feedback, 200);
                break;
            case Act::host:
                host_sends(feedback, s.value);
                break;
            case Act::idle:
                host->apply_held();
                break;
            }
        }
        EXPECT_NEAR(shown(feedback), c.shown, 1e-4f);
        ASSERT_EQ(writes.size(), c.written.size());
        for (std::size_t w = 0; w < writes.size(); ++w) {
            EXPECT_EQ(writes[w].port, static_cast<std::uint32_t>(feedback));
            EXPECT_NEAR(writes[w].value, c.written[w], 1e-4f);
        }
        int refreshes = 0;
        const auto& changes = gui.record()->param_changes;
        for (std::size_t k = told; k < changes.size(); ++k) {
            refreshes += changes[k].priority == 1 ? 1 : 0;
        }
        EXPECT_EQ(refreshes, c.refreshes);
    }
}

TEST_F(UiPorts, a_program_writes_the_ports_it_changes_as_the_plugin_reads_them_back) {
    // The plug-in's own ports, converting what the UI writes.
    Algo plugin;
    plugin.set_host(new HostDspLv2);
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
    const auto& changes = gui.record()->param_changes;
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
