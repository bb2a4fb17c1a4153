// The editor inside the filter: its creation, its rows and bands, and what
// mouse gestures and typed texts at the layout's window coordinates do to the
// parameters, the engine and the persisted state.
#include "EditorHarness.h"

#include "editor/GuiParam.h"
#include "editor/NumericParamMgr.h"
#include "editor/ProgInterpolator.h"
#include "editor/WebSiteListener.h"
#include "effect/Algo.h"
#include "host/dx/platform/MemoryStream.h"
#include "mppi/binding/MetaControl.h"
#include "mppi/preset/ProgramSlot.h"
#include "pengui/Knob.h"
#include "pengui/PixelImage.h"
#include "pengui/ScriptedTextLineEditor.h"
#include "support/ScopedEnv.h"
#include "sys/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace editor;

namespace {

using editor_test::EditorHarness;
using layout::ControlId;

constexpr int flags = 0;
constexpr int fdbk_1 = 64; // delay line 1's feedback
constexpr int fdbk_2 = 97;

// The lower band's pixels as a sum that tells two pictures apart.
std::uint64_t lower_band(pengui::HeadlessWindow& window) {
    const pengui::PixelImage image = window.render(pengui::Rect{0, 0, 500, 422});
    std::uint64_t sum = 0;
    for (int y = 300; y < 422; ++y)
        for (int x = 0; x < 500; ++x)
            sum = sum * 31 + image.rgb(x, y);
    return sum;
}

// The switches the Flags parameter shows ("BT 2 SL": beats, two lines, sustain).
std::string shown_flags(EditorHarness& e) {
    return e.param(flags).to_text(e.param(flags).get_internal());
}

bool second_line_on(EditorHarness& e) {
    return shown_flags(e).find(" 2") != std::string::npos;
}

TEST(ZentrovaGui, creation_loads_the_skin_and_the_delay2_switch_adds_and_removes_the_last_row) {
    EditorHarness e;
    EXPECT_EQ(e.gui->picture_count(), 101);
    EXPECT_EQ(e.gui->font_count(), 2);
    EXPECT_EQ(e.gui->meta_count(), 121);
    ASSERT_FALSE(second_line_on(e));
    const std::uint64_t off = lower_band(*e.window);
    EXPECT_EQ(e.gui->control_root().child_count(), 4);
    e.gui->build(); // a second build changes nothing
    EXPECT_EQ(e.gui->control_root().child_count(), 4);

    // The switch writes bit 5; the row and the band follow, and back again.
    for (const bool on : {true, false}) {
        e.click(EditorHarness::at(ControlId::delay_2));
        e.run(0.1);
        EXPECT_EQ(second_line_on(e), on);
        EXPECT_EQ(e.gui->control_root().child_count(), on ? 5 : 4);
        int width = 0, height = 0;
        e.gui->get_size(width, height);
        EXPECT_EQ(height, 422);
        if (on) {
            EXPECT_NE(lower_band(*e.window), off);
        } else {
            EXPECT_EQ(lower_band(*e.window), off);
        }
    }
}

TEST(ZentrovaGui, dragging_the_feedback_knob_128_pixels_up_moves_it_half_the_range_everywhere) {
    EditorHarness e;
    const layout::Point knob = EditorHarness::at(ControlId::line_fdbk);
    const float start = e.param(fdbk_1).get_normalized();
    e.press(knob);
    for (int dy = 8; dy <= 128; dy += 8) {
        e.window->mouse_move(knob.x, knob.y - dy);
        e.run(0.03);
    }
    e.release(knob);
    e.run(3.0);
    const double expected = std::min(1.0, start + 0.5);
    EXPECT_NEAR(e.param(fdbk_1).get_normalized(), expected, 0.01);
    EXPECT_NEAR(e.gui->meta(fdbk_1).control()->value(), expected, 0.01);

    // The persisted program carries it into a new filter.
    dshow::MemoryStream stream;
    ASSERT_EQ(e.filter->Save(&stream, FALSE), S_OK);
    EditorHarness other;
    stream.rewind();
    ASSERT_EQ(other.filter->Load(&stream), S_OK);
    EXPECT_NEAR(other.param(fdbk_1).get_normalized(), expected, 0.01);
    EXPECT_NEAR(other.gui->meta(fdbk_1).control()->value(), expected, 0.01);
}

// A repaint of any part of the window shows what a repaint of the whole
// shows there: the tile grid starts wherever the region starts, so knobs are
// cut at other places, and their turned pointers must not move for it.
TEST(ZentrovaGui, any_region_repaints_as_the_whole_window_paints_it) {
    EditorHarness e;
    for (const int preset : {0, 9, 21, 33}) {
        ASSERT_EQ(e.filter->SetPreset(preset), S_OK);
        e.run(0.1);
        const pengui::PixelImage whole = e.window->render(pengui::Rect{0, 0, 500, 422});
        // The window's own screen image, painted whole, is the same picture.
        e.window->redraw(pengui::Rect{0, 0, 500, 422});
        int off_screen = 0;
        for (int y = 0; y < 422; ++y)
            for (int x = 0; x < 500; ++x)
                off_screen += e.window->screen().rgb(x, y) != whole.rgb(x, y) ? 1 : 0;
        EXPECT_EQ(off_screen, 0);
        for (const int dx : {1, 5, 37, 90})
            for (const int dy : {3, 64, 101}) {
                const pengui::PixelImage part = e.window->render(pengui::Rect{dx, dy, 500, 422});
                int differing = 0;
                for (int y = dy; y < 422; ++y)
                    for (int x = dx; x < 500; ++x)
                        differing += part.rgb(x - dx, y - dy) != whole.rgb(x, y) ? 1 : 0;
                EXPECT_EQ(differing, 0)
                    << "preset " << preset << ", region from " << dx << ", " << dy;
            }
    }
}

TEST(ZentrovaGui, a_right_drag_moves_the_other_lines_knob_absolutely_mirrored_or_relatively) {
    struct Case {
        int modifiers;
        double partner_start;
        double expected_partner; // after line 1 goes from 0.3 to 0.6
    };
    const Case cases[] = {
        {0, 0.9, 0.6},                               // absolute: the same value
        {pengui::MouseClick::control_key, 0.9, 0.4}, // mirrored: 1 - value
        {pengui::MouseClick::shift_key, 0.5, 0.8},   // relative: keeps +0.2
        {pengui::MouseClick::shift_key, 0.9, 1.0},   // relative: stops at 1
    };
    for (const Case& c : cases) {
        EditorHarness e;
        ASSERT_TRUE(e.gui->meta(fdbk_1).control()->set_value_from_user(0.3, 200));
        ASSERT_TRUE(e.gui->meta(fdbk_2).control()->set_value_from_user(c.partner_start, 200));
        const layout::Point knob = EditorHarness::at(ControlId::line_fdbk);
        e.press(knob, pengui::MouseClick::right, c.modifiers);
        for (int dy = 8; dy <= 77; dy += 8) {
            e.window->mouse_move(knob.x, knob.y - dy);
            e.run(0.03);
        }
        e.window->mouse_move(knob.x, knob.y - 77);
        e.release(knob);
        e.run(3.0);
        const double line1 = e.param(fdbk_1).get_normalized();
        EXPECT_NEAR(line1, 0.6, 0.01) << c.modifiers;
        EXPECT_NEAR(e.param(fdbk_2).get_normalized(), c.expected_partner, 0.02)
            << "modifiers " << c.modifiers << " from " << c.partner_start;
    }
}

TEST(ZentrovaGui, pressing_a_knob_shows_its_panel_and_takes_the_focus_from_the_last_one) {
    EditorHarness e;
    EXPECT_EQ(e.gui->gui_param().shown(), nullptr);
    struct Case {
        ControlId id;
        int copy;
        int param;
        bool panel_changes;
    };
    const Case cases[] = {
        {ControlId::tap_time, 0, 7, true},       {ControlId::line_time, 0, 60, true},
        {ControlId::line_level, 1, 88, true},    {ControlId::filter_type, 0, 68, false},
        {ControlId::sustain_loop, 0, 88, false}, {ControlId::fdbk_separation, 0, 3, true},
    };
    int shown = -1;
    for (const Case& c : cases) {
        if (c.copy == 1 && e.gui->control_root().child_count() < 5)
            e.click(EditorHarness::at(ControlId::delay_2));
        const layout::Point p = EditorHarness::at(c.id, c.copy);
        e.click(p);
        e.run(0.5);
        if (c.panel_changes)
            shown = c.param;
        ASSERT_NE(e.gui->gui_param().shown(), nullptr);
        EXPECT_EQ(e.gui->gui_param().shown()->param_index(), shown);
        int focused = 0;
        for (int i = 0; i < e.gui->meta_count(); ++i) {
            auto* knob = dynamic_cast<pengui::Knob*>(e.gui->meta(i).control());
            focused += knob != nullptr && knob->focused() ? 1 : 0;
        }
        EXPECT_EQ(focused, 1);
    }
    // The time panel shows the time LFO's switch, which the middle row draws.
    const pengui::PixelImage image = e.window->render(pengui::Rect{165, 242, 408, 300});
    const pengui::PixelImage empty = [] {
        EditorHarness fresh;
        return fresh.window->render(pengui::Rect{165, 242, 408, 300});
    }();
    int differing = 0;
    for (int y = 0; y < 58; ++y)
        for (int x = 0; x < 243; ++x)
            differing += image.rgb(x, y) != empty.rgb(x, y) ? 1 : 0;
    EXPECT_GT(differing, 500);
}

TEST(ZentrovaGui, a_typed_delay_time_sets_the_parameter_and_an_unreadable_one_changes_nothing) {
    EditorHarness e;
    if ((int(e.param(flags).get_internal()) & 64) == 0) {
        e.click(EditorHarness::at(ControlId::time_unit)); // to beats
        e.run(0.5);
    }
    e.click(EditorHarness::at(ControlId::line_time));
    e.run(0.5);
    const layout::Point box = EditorHarness::at(ControlId::param_value);
    e.type_into(box, "3/8");
    EXPECT_NEAR(e.param(60).get_internal(), 0.375, 1e-4);
    const float before = e.param(60).get_normalized();
    e.type_into(box, "abc");
    EXPECT_EQ(e.param(60).get_normalized(), before);
}

TEST(ZentrovaGui, after_any_typed_text_each_box_shows_the_value_in_effect) {
    EditorHarness e;
    e.click(EditorHarness::at(ControlId::line_fdbk)); // line 1's feedback, with an LFO
    e.run(0.5);
    ASSERT_NE(e.gui->gui_param().shown(), nullptr);
    const NumericParamMgr& panel = *e.gui->gui_param().shown();
    const struct {
        ControlId id;
        NumValTbListener::Target target;
        int param;
    } boxes[] = {{ControlId::param_value, NumValTbListener::value_box, fdbk_1},
                 {ControlId::lfo_period_box, NumValTbListener::period_box, fdbk_1 + 1},
                 {ControlId::lfo_depth_box, NumValTbListener::depth_box, fdbk_1 + 2}};
    // Unreadable, empty, out of range, then a value taken.
    for (const auto& b : boxes) {
        for (const char* typed : {"nan", "abc", "", "-5", "1e9", "0.5"}) {
            const float before = e.param(b.param).get_normalized();
            e.type_into(EditorHarness::at(b.id), typed);
            const mppi::NormalizedParamInterface& p = e.param(b.param);
            EXPECT_EQ(panel.box(b.target).text(), p.to_text(p.to_internal(p.get_normalized())))
                << typed;
            if (std::string(typed) == "abc") {
                EXPECT_EQ(p.get_normalized(), before);
            }
        }
    }
}

// Each write reaches the host as a new value, even one of a switch already
// set, and the switches it shows are the ones set.
TEST(ZentrovaGui, each_flag_write_is_a_new_value_showing_the_switches_set) {
    EditorHarness e;
    float last = e.param(flags).get_normalized();
    for (int write = 0; write < 4; ++write) {
        if (write < 2) {
            e.click(EditorHarness::at(ControlId::time_unit));
            e.run(0.5);
        } else {
            e.gui->flags().set_bit(FlagListener::bit_sustain, true);
            EXPECT_NE(shown_flags(e).find("SL"), std::string::npos) << shown_flags(e);
        }
        EXPECT_NE(e.param(flags).get_normalized(), last) << "write " << write;
        last = e.param(flags).get_normalized();
    }
}

// In beats the time knobs stop on musical lengths (whole 1/384ths of a beat:
// straight, dotted and triplet notes); in seconds anywhere.
TEST(ZentrovaGui, time_knobs_stop_on_musical_lengths_in_beats_only) {
    const auto musical = [](double beats) {
        return std::fabs(beats * 384 - std::round(beats * 384)) < 1e-3;
    };
    // The delay time's panel holds the period knob of its LFO.
    const struct {
        ControlId id;
        int param;
    } knobs[] = {
        {ControlId::line_time, 60}, {ControlId::lfo_period_knob, 61}, {ControlId::tap_time, 7}};
    for (const char* unit : {"BT", "MS"}) {
        EditorHarness e;
        if (shown_flags(e).find(unit) == std::string::npos) {
            e.click(EditorHarness::at(ControlId::time_unit));
            e.run(0.5);
        }
        ASSERT_NE(shown_flags(e).find(unit), std::string::npos) << shown_flags(e);
        const bool beats = std::string(unit) == "BT";
        for (const auto& k : knobs) {
            const layout::Point p = EditorHarness::at(k.id);
            int on_grid = 0;
            for (const int dy : {-30, 12, -25, 14}) {
                e.press(p);
                e.window->mouse_move(p.x, p.y + dy);
                e.release(p);
                e.run(3.0);
                on_grid += musical(e.param(k.param).get_internal()) ? 1 : 0;
            }
            EXPECT_EQ(on_grid, beats ? 4 : 0) << k.param << (beats ? " in beats" : " in seconds");
        }
    }
}

TEST(ZentrovaGui, the_tempo_box_sets_the_tempo_and_the_spin_steps_it) {
    EditorHarness e;
    const layout::Point box = EditorHarness::at(ControlId::tempo_box);
    e.type_into({box.x, box.y + 5}, "150");
    EXPECT_NEAR(e.param(1).get_internal(), 150.0, 0.01);
    e.type_into({box.x, box.y + 5}, "fast");
    EXPECT_NEAR(e.param(1).get_internal(), 150.0, 0.01);
    // A press on the spin's up arrow steps one BPM; the box follows.
    const layout::Point spin = EditorHarness::at(ControlId::tempo_spin);
    e.click({spin.x + 13, spin.y + 5});
    EXPECT_NEAR(e.param(1).get_internal(), 151.0, 0.01);
    EXPECT_EQ(e.gui->meta(1).listener()->get_param()->to_text(151.0), "151.000");
}

TEST(ProgInterpolator, keeps_the_tempo_takes_the_flags_at_once_and_glides_the_rest) {
    EditorHarness e;
    const float tempo_now = e.param(1).get_normalized();
    ProgInterpolator interpolator;
    interpolator.set_gui(e.gui);
    mppi::ProgramSlot from, to, out;
    from.set_nbr_values(121);
    to.set_nbr_values(121);
    from.set_value(0, 0.25f);
    to.set_value(0, 0.5f);
    from.set_value(1, 0.1f);
    to.set_value(1, 0.9f);
    from.set_value(64, 0.2f);
    to.set_value(64, 0.8f);
    // position, flags, tempo, feedback
    const double cases[][4] = {
        {0.0, 0.5, tempo_now, 0.2}, {0.5, 0.5, tempo_now, 0.5}, {1.0, 0.5, tempo_now, 0.8}};
    for (const auto& c : cases) {
        EXPECT_EQ(interpolator.interpolate(out, from, to, c[0]), 0);
        EXPECT_FLOAT_EQ(out.get_value(0), float(c[1]));
        EXPECT_FLOAT_EQ(out.get_value(1), float(c[2]));
        EXPECT_NEAR(out.get_value(64), c[3], 1e-6);
    }
}

// The filter makes its editor when the editor's window is first asked for:
// one made after a program was applied shows what one made before shows.
TEST(ZentrovaGui, an_editor_made_after_a_program_shows_what_one_made_before_shows) {
    const auto editor_of = [](LONG preset, bool editor_first) {
        pengui::ToolkitClock::set_source([] { return editor_test::fake_time(); });
        HRESULT hr = S_OK;
        auto* filter =
            static_cast<host::dx::CSfPlugIn*>(host::dx::CSfPlugIn::CreateInstance(nullptr, &hr));
        filter->NonDelegatingAddRef();
        if (editor_first)
            filter->GetEditorWindow();
        EXPECT_EQ(filter->SetPreset(preset), S_OK);
        filter->GetGui()->get_host()->set_param(flags, 0.38f, 200); // two lines
        auto* window = static_cast<pengui::HeadlessWindow*>(filter->GetEditorWindow());
        filter->GetGui()->open(nullptr);
        const pengui::PixelImage image = window->render(pengui::Rect{0, 0, 500, 422});
        filter->NonDelegatingRelease();
        pengui::ToolkitClock::set_source(nullptr);
        return image;
    };
    for (LONG preset : {3, 11, 20, 33}) {
        const pengui::PixelImage before = editor_of(preset, true);
        const pengui::PixelImage after = editor_of(preset, false);
        int differing = 0;
        for (int y = 0; y < 422; ++y)
            for (int x = 0; x < 500; ++x)
                differing += before.rgb(x, y) != after.rgb(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << "preset " << preset;
    }
}

TEST(ZentrovaGui, the_web_button_opens_the_product_page) {
    EXPECT_EQ(WebSiteListener::product_page_url(),
              "https://vantrel.example/jump.php?type=product&productid=6&version=259");
    TempDir dir;
    dir.add_script("xdg-open", "printf '%s' \"$1\" > '" + dir.path + "/url'");
    test::ScopedEnv path("PATH", dir.path + ":/usr/bin:/bin");
    EditorHarness e;
    e.click(EditorHarness::at(ControlId::web_site));
    EXPECT_EQ(dir.read("url"), WebSiteListener::product_page_url());
}

} // namespace

namespace {

TEST(ZentrovaGui,
     opening_inside_a_native_window_fails_with_a_result_and_the_controls_still_follow) {
    EditorHarness e; // opened offscreen
    int native_parent = 0;
    e.gui->close();
    e.gui->open(&native_parent);
    EXPECT_EQ(e.gui->open_result(), -1);
    // The editor still follows its parameters; only nothing is drawn.
    e.gui->param_changed(fdbk_1, 0.75f, 200);
    EXPECT_FLOAT_EQ(float(e.gui->meta(fdbk_1).control()->value()), 0.75f);
    e.gui->open(nullptr);
    EXPECT_EQ(e.gui->open_result(), 0);
}

TEST(ZentrovaGui, without_its_skin_or_its_engine_the_editor_builds_nothing) {
    for (const bool skin : {false, true}) {
        ZentrovaGui gui;
        effect::Algo engine;
        engine.init();
        if (skin)
            gui.load_resources();
        else
            gui.set_dsp(&engine);
        EXPECT_THROW(gui.build(), std::runtime_error) << skin;
        EXPECT_EQ(gui.control_root().child_count(), 0) << skin;
    }
}

} // namespace
