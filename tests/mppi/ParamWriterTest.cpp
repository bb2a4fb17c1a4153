// The parameter-write protocol both adapters use: a granted write sets the
// DSP and tells the editor, a refused one changes nothing; a program claims
// what it holds; the host's own values wait while a writer holds the
// parameter, and a writer's value is never undone by an older host value.
#include "mppi/ParamWriter.h"
#include "mppi/preset/ProgramSlot.h"
#include "support/FakeDsp.h"
#include "support/FakeGui.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

double fake_now = 0.0;

struct Writer {
    Writer() {
        fake_now = 100.0;
        writer.attach(dsp);
        writer.set_gui(&gui);
    }
    float value(int index) { return dsp.get_param(index)->get_normalized(); }

    FakeDsp dsp;
    FakeGui gui;
    mppi::ParamWriter writer{[] { return fake_now; }};
};

TEST(ParamWriter, a_granted_write_sets_the_dsp_and_tells_the_editor_a_refused_one_changes_nothing) {
    Writer w;
    EXPECT_TRUE(w.writer.write(1, 0.25f, 200));
    EXPECT_EQ(w.value(1), 0.25f);
    EXPECT_EQ(w.dsp.get_param(1)->get_internal(), 0.25);

    fake_now += 0.3;
    EXPECT_FALSE(w.writer.may_change(1, 50));
    EXPECT_TRUE(w.writer.may_change(2, 50)) << "other parameters stay free";
    EXPECT_FALSE(w.writer.write(1, 0.75f, 50));
    w.writer.release(1, 150); // not the owner: nothing happens
    EXPECT_FALSE(w.writer.write(1, 0.75f, 50));
    w.writer.release(1, 200);
    EXPECT_TRUE(w.writer.write(1, 0.75f, 50));
    for (int index : {-1, FakeDsp::nbr_params}) {
        EXPECT_FALSE(w.writer.write(index, 0.5f, 200)) << index;
    }

    ASSERT_EQ(w.gui.changes.size(), 2u);
    EXPECT_EQ(w.gui.changes[0].index, 1);
    EXPECT_EQ(w.gui.changes[0].normalized, 0.25f);
    EXPECT_EQ(w.gui.changes[0].priority, 200);
    EXPECT_EQ(w.gui.changes[1].normalized, 0.75f);
    EXPECT_EQ(w.gui.changes[1].priority, 50);
}

TEST(ParamWriter, a_loaded_program_claims_what_it_holds_and_shows_what_the_dsp_took) {
    Writer w;
    mppi::ProgramSlot program;
    program.set_nbr_values(2); // one value fewer than the DSP has
    program.set_value(0, 0.5f);
    program.set_value(1, 0.125f);
    w.dsp.load_prog(program);
    w.writer.program_loaded(program.get_nbr_values(), 150);

    ASSERT_EQ(w.gui.changes.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w.gui.changes[i].index, i);
        EXPECT_EQ(w.gui.changes[i].normalized, program.get_value(i));
        EXPECT_EQ(w.gui.changes[i].priority, 150);
    }
    EXPECT_FALSE(w.writer.may_change(0, 50));
    EXPECT_TRUE(w.writer.may_change(0, 150));
    EXPECT_TRUE(w.writer.may_change(2, 50)) << "a value the program lacks is not claimed";
    // A count beyond the DSP's parameters claims them all and no more.
    w.writer.program_loaded(FakeDsp::nbr_params + 5, 150);
    EXPECT_EQ(w.gui.changes.size(), 2u + FakeDsp::nbr_params);
}

TEST(ParamWriter, host_values_wait_while_a_writer_holds_the_parameter_and_never_undo_its_writes) {
    enum class Act { editor, morph, release, program, host, idle };
    struct Step {
        double t;
        Act act;
        float value; // ignored by release and idle
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        float value;   // the parameter's at the end
        int refreshes; // host values the editor was shown
    };
    const std::vector<Case> cases = {
        {"a host value nobody holds is taken at once", {{0, Act::host, 0.7f}}, 0.7f, 1},
        {"the editor's own value coming back changes nothing",
         {{0, Act::editor, 0.6f}, {0.1, Act::host, 0.6f}, {1, Act::idle, 0}},
         0.6f,
         0},
        {"late echoes during a drag never pull the knob back",
         {{0, Act::editor, 0.6f},
          {0.1, Act::editor, 0.65f},
          {0.15, Act::host, 0.6f},
          {0.2, Act::editor, 0.7f},
          {0.25, Act::host, 0.65f},
          {0.3, Act::host, 0.7f},
          {1, Act::idle, 0}},
         0.7f,
         0},
        {"a host value during the hold applies when the hold ends",
         {{0, Act::editor, 0.6f}, {0.2, Act::host, 0.4f}, {0.4, Act::idle, 0}, {0.8, Act::idle, 0}},
         0.4f,
         1},
        {"an editor write after the waiting value wins",
         {{0, Act::editor, 0.6f},
          {0.2, Act::host, 0.4f},
          {0.3, Act::editor, 0.55f},
          {2, Act::idle, 0}},
         0.55f,
         0},
        {"a program after the waiting value wins",
         {{0, Act::editor, 0.6f},
          {0.2, Act::host, 0.4f},
          {0.3, Act::program, 0.2f},
          {2, Act::idle, 0}},
         0.2f,
         0},
        {"the end of the gesture ends the hold",
         {{0, Act::editor, 0.6f}, {0.1, Act::release, 0}, {0.2, Act::host, 0.4f}},
         0.4f,
         1},
        {"a morph step refused by the editor's claim changes nothing",
         {{0, Act::editor, 0.6f}, {0.2, Act::morph, 0.3f}},
         0.6f,
         0},
    };
    Writer w;
    const int index = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake_now += 10.0; // every claim of the previous case has lapsed
        w.writer.host_value(index, 0.5f);
        w.gui.changes.clear();
        const double start = fake_now;
        for (const Step& s : c.steps) {
            fake_now = start + s.t;
            switch (s.act) {
            case Act::editor:
                EXPECT_TRUE(w.writer.write(index, s.value, 200));
                break;
            case Act::morph:
                EXPECT_FALSE(w.writer.write(index, s.value, 150));
                break;
            case Act::release:
                w.writer.release(index, 200);
                break;
            case Act::program:
                w.dsp.get_param(index)->set_normalized(s.value);
                w.writer.program_loaded(FakeDsp::nbr_params, 200);
                break;
            case Act::host:
                w.writer.host_value(index, s.value);
                break;
            case Act::idle:
                w.writer.apply_waiting();
                break;
            }
        }
        EXPECT_EQ(w.value(index), c.value);
        int refreshes = 0;
        for (const FakeGui::Change& change : w.gui.changes) {
            refreshes += change.priority == 1 ? 1 : 0;
        }
        EXPECT_EQ(refreshes, c.refreshes);
    }
    // Host values for parameters the DSP does not have are passed over.
    w.gui.changes.clear();
    w.writer.host_value(FakeDsp::nbr_params, 0.5f);
    w.writer.host_value(-1, 0.5f);
    w.writer.apply_waiting();
    EXPECT_TRUE(w.gui.changes.empty());
}

} // namespace
