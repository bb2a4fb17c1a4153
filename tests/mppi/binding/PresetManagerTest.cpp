// The preset panel driven through real toolkit controls in a headless window
// with a fake clock: storing into a memory, recalls with timed morphs, the
// morph-time knob and box, bank files through a scripted dialog back end, a
// refused timer, and the memories filled from a bank resource.
#include "mppi/preset/PresetFakes.h"
#include "mppi/preset/PresetTestData.h"

#include "mppi/binding/PresetManager.h"
#include "mppi/preset/BankFile.h"
#include "pengui/FlipFlop.h"
#include "pengui/Knob.h"
#include "pengui/PushButton.h"
#include "pengui/ScriptedTextLineEditor.h"
#include "pengui/TextBox.h"
#include "pengui/ToolkitHarness.h"
#include "sys/Resource.h"
#include "sys/ScriptedDialogBackend.h"
#include "sys/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

using namespace mppi;
using namespace preset_test;

namespace {

ProgramSlot flat_prog(const std::string& name, float value) {
    ProgramSlot prog = make_prog(name, 121);
    for (int i = 0; i < 121; ++i)
        prog.set_value(i, value);
    return prog;
}

struct Panel : ::testing::Test {
    test::FakeClock clock;
    test::ControlScene scene{300, 60};
    std::array<pengui::PushButton, 8> buttons;
    pengui::FlipFlop store_switch;
    pengui::PushButton load_button;
    pengui::PushButton save_button;
    pengui::Knob knob;
    pengui::TextBox box;
    ProgramDsp dsp;
    FakeHostGui* host = new FakeHostGui;
    FakeGui gui;
    // Declared after the controls, so it is gone before them.
    PresetManager manager;

    Panel() {
        for (int j = 0; j < 8; ++j)
            scene.add(buttons[static_cast<unsigned>(j)], 16 * j, 0, 13, 13);
        scene.add(store_switch, 0, 20, 17, 17);
        scene.add(load_button, 20, 20, 17, 17);
        scene.add(save_button, 40, 20, 17, 17);
        scene.add(knob, 60, 20, 17, 17);
        scene.add(box, 100, 20, 24, 15);
        box.set_editable(true);
        box.set_box_size(24, 15);
        scene.open();
        host->dsp = &dsp;
        gui.set_host(host);
        gui.set_dsp(&dsp);
    }

    int init(const char* resource = nullptr) { return init(manager, resource); }
    int init(PresetManager& m, const char* resource) {
        std::array<pengui::ControlInterface*, 8> refs{};
        for (unsigned j = 0; j < 8; ++j)
            refs[j] = &buttons[j];
        return m.init(&gui, nullptr, refs, &store_switch, &load_button, &save_button, &knob, &box,
                      resource);
    }
    void press(const pengui::ControlInterface& c) {
        scene.window.mouse_button(c.absolute_x() + 1, c.absolute_y() + 1, 1);
        scene.window.mouse_button(c.absolute_x() + 1, c.absolute_y() + 1, 0);
    }
    void type_time(const std::string& text) {
        press(box);
        scene.window.editor().type(text);
        scene.window.editor().press_enter();
    }
    void tick_at(double seconds) {
        clock.set(seconds);
        scene.window.run_timers();
    }
    void tick_every_tenth_until(double end) {
        for (double t = 0.1; t < end; t += 0.1)
            tick_at(t);
    }
    // Puts prog into memory index through store mode.
    void store(int index, const ProgramSlot& prog) {
        dsp.set_program(prog);
        press(store_switch);
        press(buttons[static_cast<unsigned>(index)]);
    }
    float last_sent(int i = 10) const { return host->sent.back().first.get_value(i); }
};

TEST_F(Panel, store_mode_copies_the_current_program_into_its_memory_and_sends_nothing) {
    ASSERT_EQ(init(), 0);
    const ProgramSlot before = manager.bank().use_prog(2);
    store(3, make_prog("Reverse - 1 beat", 121, 9));
    EXPECT_EQ(store_switch.value(), 0.0);
    EXPECT_TRUE(same_prog(manager.bank().use_prog(3), dsp.program()));
    EXPECT_TRUE(same_prog(manager.bank().use_prog(2), before));
    tick_every_tenth_until(2.0);
    EXPECT_TRUE(host->sent.empty());
}

// A recall from 0.2 to 0.8 everywhere; each case ticks at the times given and
// expects the value sent at each (negative: nothing sent at that tick).
TEST_F(Panel, a_recall_morphs_over_the_knob_time_and_ends_at_the_target) {
    struct Case {
        const char* time_text;
        std::vector<std::pair<double, double>> ticks;
    };
    const Case cases[] = {
        {"0", {{0.05, -1}, {0.1, 0.8}, {0.2, -1}, {5.0, -1}}},
        {"10", {{0.1, 0.206}, {5.0, 0.5}, {9.9, 0.794}, {10.05, 0.8}, {10.2, -1}}},
        {"150", {{49.5, 0.5}, {99.1, 0.8}, {99.2, -1}}},
    };
    ASSERT_EQ(init(), 0);
    store(5, flat_prog("Target", 0.8f));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time_text);
        type_time(c.time_text);
        dsp.set_program(flat_prog("Start", 0.2f));
        tick_at(0);
        host->sent.clear();
        press(buttons[5]);
        for (const auto& [t, expected] : c.ticks) {
            const std::size_t before = host->sent.size();
            tick_at(t);
            if (expected < 0) {
                EXPECT_EQ(host->sent.size(), before) << t;
                continue;
            }
            ASSERT_EQ(host->sent.size(), before + 1) << t;
            EXPECT_NEAR(last_sent(), expected, 1e-6) << t;
            EXPECT_EQ(host->sent.back().second, 150);
            EXPECT_EQ(host->sent.back().first.get_prog_name(), "Target");
        }
        EXPECT_EQ(scene.window.running_timers(), 0);
    }
}

TEST_F(Panel, a_second_recall_mid_morph_starts_from_the_half_morphed_sound) {
    ASSERT_EQ(init(), 0);
    store(1, flat_prog("One", 0.8f));
    store(2, flat_prog("Two", 0.0f));
    type_time("10");
    dsp.set_program(flat_prog("Start", 0.2f));
    tick_at(0);
    press(buttons[1]);
    tick_at(5.0);
    ASSERT_NEAR(dsp.program().get_value(7), 0.5, 1e-6);
    press(buttons[2]);
    host->sent.clear();
    tick_at(7.5);
    // One morph only: the first recall's timer is gone.
    ASSERT_EQ(host->sent.size(), 1u);
    EXPECT_NEAR(last_sent(7), 0.5 + 0.25 * (0.0 - 0.5), 1e-6);
    EXPECT_EQ(host->sent.back().first.get_prog_name(), "Two");
}

TEST_F(Panel, morph_time_knob_and_box_agree) {
    struct Case {
        double knob;      // set on the knob as the user would, or
        const char* text; // typed into the box
        const char* shown;
        double time;
    };
    const Case cases[] = {
        {0.0, nullptr, "0", 0.0}, {0.5, nullptr, "9", 9.0}, {1.0, nullptr, "99", 99.0},
        {-1, "150", "99", 99.0},  {-1, "abc", "0", 0.0},    {-1, "2.6", "3", 2.6},
        {-1, "-4", "0", 0.0},     {-1, "nan", "0", 0.0},    {-1, "12 s", "12", 12.0},
    };
    ASSERT_EQ(init(), 0);
    EXPECT_EQ(box.text(), "0");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text != nullptr ? c.text : std::to_string(c.knob));
        type_time("50");
        if (c.text != nullptr)
            type_time(c.text);
        else
            knob.set_value_from_user(c.knob, 200);
        EXPECT_EQ(box.text(), c.shown);
        EXPECT_NEAR(manager.morph_time(), c.time, 1e-9);
    }
}

// A recall whose timer is refused, or whose morph the editor's stop ends,
// sends nothing and leaves no timer behind.
TEST_F(Panel, a_recall_without_its_timer_sends_nothing) {
    ASSERT_EQ(init(), 0);
    type_time("10");
    for (const bool refuse : {true, false}) {
        SCOPED_TRACE(refuse);
        scene.window.set_refuse_timers(refuse);
        tick_at(0);
        press(buttons[0]);
        if (!refuse)
            manager.stop();
        tick_every_tenth_until(1.0);
        EXPECT_TRUE(host->sent.empty());
        EXPECT_EQ(scene.window.running_timers(), 0);
    }
}

// The memories after init with a bank resource: the code, and the programs
// of the resource's first eight (none: copies of the current program).
TEST_F(Panel, init_fills_the_memories_from_a_bank_resource) {
    struct Case {
        const char* name;
        int code;
        bool from_resource;
    };
    const Case cases[] = {
        {"default_preset_bank", 0, true},
        {"static_presets", 0, true},
        {"no_such_bank", -1, false},
        {nullptr, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name != nullptr ? c.name : "none");
        PresetManager fresh;
        ASSERT_EQ(init(fresh, c.name), c.code);
        BankManager expected;
        if (c.from_resource) {
            std::size_t size = 0;
            const void* data = sys::get_ressource("VNPB", c.name, &size);
            ASSERT_EQ(load_bank_memory(data, size, expected, false), 0);
            ASSERT_GE(expected.get_nbr_progs(), 8);
        }
        ASSERT_EQ(fresh.bank().get_nbr_progs(), 8);
        for (int i = 0; i < 8; ++i) {
            const ProgramSlot& want = c.from_resource ? expected.use_prog(i) : dsp.program();
            EXPECT_EQ(fresh.bank().use_prog(i).get_prog_name(), want.get_prog_name()) << i;
            EXPECT_EQ(fresh.bank().use_prog(i).values(), want.values()) << i;
        }
    }
    // A second init does nothing.
    ASSERT_EQ(init("default_preset_bank"), 0);
    const ProgramSlot first = manager.bank().use_prog(0);
    dsp.set_program(make_prog("Changed", 121, 4));
    EXPECT_EQ(init(nullptr), 0);
    EXPECT_TRUE(same_prog(manager.bank().use_prog(0), first));
}

struct BankFiles : Panel {
    ScriptedDialogBackend dialogs;
    TempDir dir;
    std::string path = dir.path + "/bank.pbk";

    void choose(const std::string& file, sys::FileDialogResult::Status status) {
        dialogs.file_answer = [file, status](const sys::FileDialogRequest&) {
            return sys::FileDialogResult{status, file, 0};
        };
    }
    void answer_box(sys::MessageBoxAnswer answer) {
        dialogs.box_answer = [answer](const sys::MessageBoxRequest&) { return answer; };
    }
};

TEST_F(BankFiles, a_failed_load_keeps_the_memories_and_shows_its_code) {
    using Status = sys::FileDialogResult::Status;
    struct Case {
        int nbr_progs; // of the file; 0: no file written
        Status status;
        const char* box_text; // after the path; null: no box
        const char* words;    // on stderr after the path
    };
    const Case cases[] = {
        {5, Status::chosen, "\n\nCode -1011",
         "holds another number of programs than the bank it would replace"},
        {0, Status::chosen, "\n\nCode -1002", "cannot be opened"},
        {-8, Status::chosen, "\n\nCode -1009", "is cut short"},
        {5, Status::cancelled, nullptr, nullptr},
        {5, Status::failed, nullptr, nullptr},
    };
    ASSERT_EQ(init("default_preset_bank"), 0);
    answer_box(sys::MessageBoxAnswer::ok);
    const BankManager before = manager.bank();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nbr_progs);
        std::filesystem::remove(path);
        if (c.nbr_progs != 0) {
            ASSERT_EQ(save_bank_file(path, make_bank(std::abs(c.nbr_progs), 121)), 0);
        }
        if (c.nbr_progs < 0) { // the file cut short
            std::filesystem::resize_file(path, std::filesystem::file_size(path) - 100);
        }
        dialogs.box_requests.clear();
        choose(path, c.status);
        testing::internal::CaptureStderr();
        press(load_button);
        const std::string told = testing::internal::GetCapturedStderr();
        ASSERT_FALSE(dialogs.file_requests.empty());
        EXPECT_EQ(dialogs.file_requests.back().title, "Load preset bank");
        EXPECT_EQ(dialogs.file_requests.back().mode, sys::FileDialogMode::open);
        EXPECT_TRUE(same_bank(manager.bank(), before));
        if (c.box_text == nullptr) {
            EXPECT_TRUE(dialogs.box_requests.empty());
            EXPECT_EQ(told, "");
            continue;
        }
        ASSERT_EQ(dialogs.box_requests.size(), 1u);
        EXPECT_EQ(dialogs.box_requests[0].title, "Error");
        EXPECT_EQ(dialogs.box_requests[0].text, "Can't load bank file\n" + path + c.box_text);
        EXPECT_EQ(dialogs.box_requests[0].buttons, sys::MessageBoxButtons::ok);
        EXPECT_EQ(dialogs.box_requests[0].icon, sys::MessageBoxIcon::error);
        EXPECT_EQ(told, "quevrin: " + path + ": " + c.words + "\n");
    }
    EXPECT_TRUE(host->sent.empty());
}

TEST_F(BankFiles, save_asks_before_overwriting_and_load_brings_the_memories_back) {
    ASSERT_EQ(init(), 0);
    store(4, make_prog("Random phaser 2", 121, 6));
    choose(path, sys::FileDialogResult::Status::chosen);
    press(save_button);
    EXPECT_TRUE(dialogs.box_requests.empty());
    const std::string saved = read_file(path);
    EXPECT_EQ(saved.size(), 4496u);
    EXPECT_EQ(dialogs.file_requests.back().title, "Save preset bank");
    EXPECT_EQ(dialogs.file_requests.back().filters,
              (std::vector<sys::FileFilter>{{"Vantrel plug-in preset bank (*.pbk)", "*.pbk"}}));

    // Over the file now there: Cancel writes nothing, OK writes.
    store(4, make_prog("Reverse - 2 beats", 121, 7));
    for (sys::MessageBoxAnswer answer :
         {sys::MessageBoxAnswer::cancel, sys::MessageBoxAnswer::ok}) {
        answer_box(answer);
        dialogs.box_requests.clear();
        press(save_button);
        ASSERT_EQ(dialogs.box_requests.size(), 1u);
        const sys::MessageBoxRequest& ask = dialogs.box_requests[0];
        EXPECT_EQ(ask.title, "Conflict");
        EXPECT_EQ(ask.text, path + "\nalready exists. Overwrite ?");
        EXPECT_EQ(ask.buttons, sys::MessageBoxButtons::ok_cancel);
        EXPECT_EQ(ask.default_button, 1);
        EXPECT_EQ(read_file(path) == saved, answer == sys::MessageBoxAnswer::cancel);
    }

    // A file the memories were saved to loads back into them.
    const BankManager written = manager.bank();
    store(4, make_prog("Other", 121, 8));
    press(load_button);
    EXPECT_TRUE(same_bank(manager.bank(), written));

    // A file that cannot be created.
    EXPECT_TRUE(host->sent.empty());
    const std::string bad = dir.path + "/missing/bank.pbk";
    choose(bad, sys::FileDialogResult::Status::chosen);
    answer_box(sys::MessageBoxAnswer::ok);
    dialogs.box_requests.clear();
    press(save_button);
    ASSERT_EQ(dialogs.box_requests.size(), 1u);
    EXPECT_EQ(dialogs.box_requests[0].title, "Error");
    EXPECT_EQ(dialogs.box_requests[0].text, "Can't save bank file\n" + bad + "\n\nCode -1002");

    // A full disk (a bank file that is a link to /dev/full): the box gives
    // the code, stderr the reason.
    const std::string full = dir.path + "/full.pbk";
    std::filesystem::create_symlink("/dev/full", full);
    choose(full, sys::FileDialogResult::Status::chosen);
    dialogs.box_requests.clear();
    testing::internal::CaptureStderr();
    press(save_button);
    const std::string told = testing::internal::GetCapturedStderr();
    ASSERT_EQ(dialogs.box_requests.size(), 2u); // the overwrite question, then the error
    EXPECT_EQ(dialogs.box_requests[1].icon, sys::MessageBoxIcon::error);
    EXPECT_EQ(told, "quevrin: " + full + ": could not be written completely; the disk is full (" +
                        std::string(std::strerror(ENOSPC)) + ")\n");
}

} // namespace
