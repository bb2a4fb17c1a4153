// The controls' gestures against a headless window and a fake clock: knob
// drags, fine mode, snapping and corner spins; spin repeat stages; flip-flop,
// switch and push-button behaviour; text input.
#include "pengui/FlipFlop.h"
#include "pengui/Knob.h"
#include "pengui/PushButton.h"
#include "pengui/ScriptedTextLineEditor.h"
#include "pengui/Spin.h"
#include "pengui/Switch.h"
#include "pengui/TextBox.h"
#include "pengui/ToolkitHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

using namespace pengui;

namespace {

// Runs the timers every 10 ms from the clock's time up to seconds.
void run_until(test::FakeClock& clock, HeadlessWindow& window, double& now, double seconds) {
    while (now + 0.0005 < seconds) {
        now = std::round(now * 1000 + 10) / 1000;
        clock.set(now);
        window.run_timers();
    }
}

struct KnobScene {
    KnobScene() {
        scene.add(knob, 50, 50, 40, 40);
        knob.set_listener(&listener);
        scene.open();
    }
    // A drag from the knob's centre by (dx, dy) pixels in steps of at most 10.
    void press_centre() { scene.window.mouse_button(70, 70, MouseClick::left); }
    void move_by(int dx, int dy) {
        x += dx;
        y += dy;
        scene.window.mouse_move(x, y);
    }
    test::FakeClock clock;
    test::ControlScene scene;
    Knob knob;
    test::LoggingListener listener;
    int x = 70;
    int y = 70;
};

} // namespace

TEST(Knob, a_vertical_drag_of_the_drag_range_moves_the_raw_value_by_the_full_scale) {
    for (int range : {Knob::default_drag_range, 256}) {
        KnobScene s;
        s.knob.set_drag_range(range);
        s.press_centre();
        ASSERT_EQ(s.knob.behaviour().mode(), PotBehaviour::drag);
        EXPECT_EQ(s.scene.window.capture_mode(), 2);
        s.move_by(0, -range);
        EXPECT_DOUBLE_EQ(s.knob.behaviour().raw(), 1.0) << range;
        // Overshoot, then a reversal starts from the edge.
        s.move_by(0, -range / 4);
        EXPECT_DOUBLE_EQ(s.knob.behaviour().raw(), 1.25) << range;
        s.move_by(0, range / 8);
        EXPECT_DOUBLE_EQ(s.knob.behaviour().raw(), 0.875) << range;
        s.move_by(0, 2 * range);
        s.move_by(0, -range / 2);
        EXPECT_DOUBLE_EQ(s.knob.behaviour().raw(), 0.5) << range;
    }
}

TEST(Knob, the_value_follows_the_target_smoothly_and_settles_after_release) {
    KnobScene s;
    s.press_centre();
    s.clock.set(0.01);
    s.move_by(0, -100); // target 0.5 at once; the value lags
    const double first = s.knob.value();
    EXPECT_GT(first, 0.0);
    EXPECT_LT(first, 0.25);
    s.scene.window.mouse_button(s.x, s.y, 0);
    EXPECT_TRUE(s.listener.has("ended 200"));
    EXPECT_EQ(s.scene.window.capture_holder(), nullptr);
    EXPECT_EQ(s.scene.window.warp_x(), 0); // released within 250 ms: no warp
    // A window that puts the cursor back reports it as a move: a place, no
    // longer a movement, so the settling target stays.
    s.scene.window.mouse_move(70, 70);
    s.listener.log.clear();
    double now = 0.01;
    run_until(s.clock, s.scene.window, now, 0.1);
    EXPECT_GT(s.knob.value(), first);
    run_until(s.clock, s.scene.window, now, 5.0);
    EXPECT_DOUBLE_EQ(s.knob.value(), 0.5);
    EXPECT_TRUE(s.listener.has("accept 50"));
    EXPECT_FALSE(s.listener.has("accept 200"));
    EXPECT_EQ(s.scene.window.running_timers(), 0);
}

TEST(Knob, fine_mode_enters_on_sideways_moves_and_leaves_on_steep_ones) {
    KnobScene s;
    s.knob.set_fine_factor(0.5f);
    s.press_centre();
    const struct {
        int dx, dy;
        bool fine;
    } moves[] = {
        {10, 0, true},  // flat: in
        {5, -5, true},  // 45 degrees: stays
        {0, -5, false}, // steep: out
        {5, -5, false}, // 45 degrees: stays out
        {6, -3, false}, // below the leaving angle, above the entering one
        {10, 0, true},  // flat
    };
    for (const auto& m : moves) {
        const double raw = s.knob.behaviour().raw();
        s.move_by(m.dx, m.dy);
        EXPECT_EQ(s.knob.behaviour().fine_mode(), m.fine) << m.dx << "," << m.dy;
        if (m.fine) {
            EXPECT_DOUBLE_EQ(s.knob.behaviour().raw() - raw, m.dx * 0.5 / 200);
        }
    }
}

TEST(Knob, a_snap_list_makes_the_target_jump_between_its_values) {
    KnobScene s;
    const std::vector<double> snaps{0.25, 0.5, 0.75};
    s.knob.set_snap_list(&snaps);
    s.knob.set_value_from_outside(0.25, 1);
    s.press_centre();
    const struct {
        int dy;
        double raw, target;
    } steps[] = {
        {-20, 0.35, 0.25}, {-20, 0.45, 0.5}, {-20, 0.55, 0.5}, {-30, 0.70, 0.75}, {60, 0.40, 0.5}};
    for (const auto& st : steps) {
        s.move_by(0, st.dy);
        EXPECT_NEAR(s.knob.behaviour().raw(), st.raw, 1e-12);
        EXPECT_DOUBLE_EQ(s.knob.behaviour().target(), st.target) << st.raw;
    }
}

TEST(Knob, corner_presses_spin_until_release_then_decay_to_a_stop) {
    const struct {
        int x, y;
        double sign; // of the value's change, default angle range
    } corners[] = {{52, 88, -1}, {88, 88, +1}};
    for (const auto& c : corners) {
        KnobScene s;
        s.knob.set_value_from_outside(0.5, 1);
        s.scene.window.mouse_button(c.x, c.y, MouseClick::left);
        ASSERT_EQ(s.knob.behaviour().mode(), PotBehaviour::spin);
        EXPECT_EQ(s.scene.window.capture_mode(), 0);
        double now = 0;
        run_until(s.clock, s.scene.window, now, 1.0);
        const double held = s.knob.value();
        EXPECT_GT((held - 0.5) * c.sign, 0.0);
        s.scene.window.mouse_button(c.x, c.y, 0);
        run_until(s.clock, s.scene.window, now, 1.5);
        const double coasting = s.knob.value();
        EXPECT_GT((coasting - held) * c.sign, 0.0) << "keeps turning after the release";
        run_until(s.clock, s.scene.window, now, 10.0);
        EXPECT_EQ(s.scene.window.running_timers(), 0);
        const double stopped = s.knob.value();
        run_until(s.clock, s.scene.window, now, 11.0);
        EXPECT_EQ(s.knob.value(), stopped);
    }
}

TEST(Knob, a_refused_change_or_a_hide_ends_the_gesture) {
    KnobScene s;
    s.press_centre();
    s.listener.accept = false;
    s.clock.set(0.05);
    s.move_by(0, -50);
    EXPECT_EQ(s.knob.behaviour().mode(), PotBehaviour::idle);
    EXPECT_EQ(s.scene.window.capture_holder(), nullptr);
    EXPECT_EQ(s.scene.window.running_timers(), 0);
    s.listener.accept = true;
    s.press_centre();
    ASSERT_EQ(s.scene.window.running_timers(), 1);
    s.scene.group.handle(ShowObject(false));
    EXPECT_EQ(s.scene.window.running_timers(), 0);
    EXPECT_EQ(s.scene.window.capture_holder(), nullptr);
    // Without a capture the drag never starts.
    s.scene.group.handle(ShowObject(true));
    s.scene.window.set_refuse_capture(true);
    s.press_centre();
    EXPECT_EQ(s.knob.behaviour().mode(), PotBehaviour::idle);
    EXPECT_EQ(s.scene.window.running_timers(), 0);
}

TEST(Spin, a_release_shows_the_arrow_or_the_handle_unpressed_at_once) {
    // Each normal picture has a colour of its own, the pressed ones are white.
    const auto normal = [](int i) { return 0x200000u * unsigned(i + 1); };
    // The press point of the up arrow (part 0) and of the handle (part 4),
    // below the arrows.
    for (const auto& [y, part] : {std::pair{22, 0}, std::pair{34, 4}}) {
        test::FakeClock clock;
        test::ControlScene scene;
        Spin spin;
        const Spin::Part parts[] = {Spin::up_normal,    Spin::up_pressed,    Spin::down_normal,
                                    Spin::down_pressed, Spin::handle_normal, Spin::handle_pressed};
        std::vector<std::unique_ptr<test::OwnedPicture>> pictures;
        for (int i = 0; i < 6; ++i) {
            pictures.push_back(std::make_unique<test::OwnedPicture>(
                test::solid(10, 5, i % 2 == 1 ? 0xFFFFFFu : normal(i))));
            pictures.back()->picture.set_anchor(0, -6 * (i / 2));
            spin.set_picture(parts[i], pictures.back()->picture);
        }
        scene.add(spin, 20, 20, 10, 17);
        scene.open();
        scene.window.mouse_button(22, y, MouseClick::left);
        scene.window.paint();
        EXPECT_EQ(scene.window.screen().rgb(22, y), 0xFFFFFFu) << y;
        scene.window.mouse_button(22, y, 0);
        scene.window.paint();
        EXPECT_EQ(scene.window.screen().rgb(22, y), normal(part)) << "still pressed at y " << y;
    }
}

TEST(Spin, a_held_arrow_repeats_slowly_after_half_a_second_then_fast_after_two) {
    test::FakeClock clock;
    test::ControlScene scene;
    Spin spin;
    test::OwnedPicture up(test::solid(10, 5, 0xFF0000)), down(test::solid(10, 5, 0x0000FF));
    up.picture.set_anchor(0, 0);
    down.picture.set_anchor(0, -6);
    spin.set_picture(Spin::up_normal, up.picture);
    spin.set_picture(Spin::down_normal, down.picture);
    scene.add(spin, 20, 20, 10, 11);
    scene.open();
    spin.set_value_from_outside(0.5, 1);
    scene.window.mouse_button(22, 22, MouseClick::left);
    EXPECT_EQ(spin.active_part(), Spin::up_held);
    // Stepped once at the press; then by the schedule, worked out by hand:
    // ticks every 0.1 s; the one at 0.6 s starts stage 1, 0.7 s to 2.0 s step
    // 0.001 (14 ticks); 2.1 s steps 0.001 + 0.005 and re-arms at 0.03 s;
    // then 0.005 every 0.03 s.
    const struct {
        double at;
        double value;
        int stage;
    } marks[] = {{0.5, 0.501, 0}, {0.6, 0.501, 1}, {0.7, 0.502, 1},
                 {2.0, 0.515, 1}, {2.1, 0.521, 2}, {3.0, 0.671, 2}};
    double now = 0;
    for (const auto& m : marks) {
        run_until(clock, scene.window, now, m.at);
        EXPECT_NEAR(spin.value(), m.value, 1e-9) << m.at;
        EXPECT_EQ(spin.repeat_stage(), m.stage) << m.at;
    }
    scene.window.mouse_button(22, 22, 0);
    EXPECT_EQ(spin.active_part(), Spin::none);
    EXPECT_EQ(scene.window.running_timers(), 0);
    EXPECT_EQ(scene.window.capture_holder(), nullptr);
    // The down arrow, clamped at 0.
    spin.set_value_from_outside(0.0005, 1);
    scene.window.mouse_button(22, 28, MouseClick::left);
    EXPECT_EQ(spin.value(), 0.0);
}

TEST(FlipFlop, toggles_at_once_or_animates_over_its_duration) {
    test::FakeClock clock;
    test::ControlScene scene;
    FlipFlop plain, animated;
    animated.set_duration(0.2);
    scene.add(plain, 0, 0, 10, 10);
    scene.add(animated, 20, 0, 10, 10);
    scene.open();
    scene.window.mouse_button(5, 5, MouseClick::left);
    EXPECT_EQ(plain.value(), 1.0);
    EXPECT_EQ(plain.shown_position(), 1.0);
    EXPECT_EQ(scene.window.running_timers(), 0);
    scene.window.mouse_button(5, 5, 0);
    scene.window.mouse_button(5, 5, MouseClick::left);
    EXPECT_EQ(plain.value(), 0.0);

    scene.window.mouse_button(25, 5, MouseClick::left);
    EXPECT_EQ(animated.value(), 1.0);
    const struct {
        double at;
        double shown;
    } frames[] = {{0.03, 0.15}, {0.06, 0.3}, {0.18, 0.9}, {0.21, 1.0}}; // ticks every 30 ms
    double now = 0;
    for (const auto& f : frames) {
        run_until(clock, scene.window, now, f.at);
        EXPECT_NEAR(animated.shown_position(), f.shown, 1e-9) << f.at;
    }
    EXPECT_EQ(scene.window.running_timers(), 0);
    scene.window.mouse_button(25, 5, MouseClick::left);
    run_until(clock, scene.window, now, 0.3);
    EXPECT_NEAR(animated.shown_position(), 0.55, 1e-9); // switching off: 1 - 0.09 / 0.2
}

TEST(Switch, a_press_on_a_position_picture_selects_it) {
    test::ControlScene scene;
    Switch sw;
    sw.set_position_count(4);
    std::vector<std::unique_ptr<test::OwnedPicture>> cells;
    for (int i = 0; i < 4; ++i) {
        cells.push_back(std::make_unique<test::OwnedPicture>(test::solid(10, 10, 0x111111 * i)));
        cells.back()->picture.set_anchor(-12 * i, 0); // positions 12 pixels apart
        sw.set_position_picture(i, cells.back()->picture);
    }
    test::LoggingListener listener;
    sw.set_listener(&listener);
    scene.add(sw, 100, 100, 48, 10);
    scene.open();
    const struct {
        int x;
        double value;
    } presses[] = {{125, 2.0 / 3}, {100, 0.0},
                   {145, 1.0},     {111, 1.0} /* between pictures: kept */,
                   {113, 1.0 / 3}, {147, 1.0 / 3} /* past the last picture: kept */};
    for (const auto& p : presses) {
        scene.window.mouse_button(p.x, 105, MouseClick::left);
        EXPECT_DOUBLE_EQ(sw.value(), p.value) << p.x;
        scene.window.mouse_button(p.x, 105, 0);
        EXPECT_FALSE(sw.captured());
    }
    EXPECT_TRUE(listener.has("accept 200"));
    // What is drawn is the selected position's picture.
    PixelImage image = scene.window.render(Rect{100, 100, 148, 110});
    EXPECT_EQ(image.rgb(13, 5), 0x111111u);
}

TEST(PushButton, a_press_acts_once_and_runs_its_frames_there_and_back) {
    test::FakeClock clock;
    test::ControlScene scene;
    PushButton button;
    test::LoggingListener listener;
    button.set_listener(&listener);
    scene.add(button, 0, 0, 10, 10);
    scene.open();
    scene.window.mouse_button(5, 5, MouseClick::left);
    EXPECT_EQ(listener.log.back(), "action 0 0");
    const struct {
        double at;
        double position;
    } steps[] = {{0.03, 0.6}, {0.06, 0.8}, {0.09, 0.2}, {0.12, 0.0}};
    double now = 0;
    for (const auto& st : steps) {
        run_until(clock, scene.window, now, st.at);
        EXPECT_NEAR(button.animation_position(), st.position, 1e-9) << st.at;
    }
    EXPECT_EQ(scene.window.running_timers(), 0);
    EXPECT_EQ(button.value(), 0.0);
    // Without a timer the button simply stays on its first frame.
    scene.window.set_refuse_timers(true);
    scene.window.mouse_button(5, 5, MouseClick::left);
    EXPECT_EQ(button.animation_position(), 0.0);
}

TEST(TextBox, edits_start_finish_and_stop_and_a_second_box_takes_over) {
    test::ControlScene scene;
    TextBox a, b;
    test::LoggingListener la, lb;
    a.set_listener(&la);
    b.set_listener(&lb);
    for (TextBox* box : {&a, &b}) {
        box->set_editable(true);
        box->set_text("old");
    }
    scene.add(a, 10, 10, 40, 12);
    scene.add(b, 10, 30, 40, 12);
    a.set_text_anchor(2, 1);
    a.set_box_size(40, 12);
    scene.open();
    ScriptedTextLineEditor& editor = scene.window.editor();

    scene.window.mouse_button(15, 15, MouseClick::left);
    ASSERT_TRUE(a.editing());
    EXPECT_EQ(editor.area().x0, 8);
    EXPECT_EQ(editor.area().y1, 21);
    EXPECT_EQ(editor.text(), "old");
    editor.type("new");
    editor.press_enter();
    EXPECT_EQ(a.text(), "new");
    EXPECT_FALSE(a.editing());
    EXPECT_TRUE(la.has("action 1 0"));

    // Escape: nothing changes, no action.
    la.log.clear();
    scene.window.mouse_button(15, 15, MouseClick::left);
    editor.type("xyz");
    editor.press_escape();
    EXPECT_EQ(a.text(), "new");
    EXPECT_FALSE(la.has("action 1 0"));

    // A press on the second box ends the first edit as accepted.
    scene.window.mouse_button(15, 15, MouseClick::left);
    editor.type("first");
    scene.window.mouse_button(15, 35, MouseClick::left);
    EXPECT_EQ(a.text(), "first");
    EXPECT_FALSE(a.editing());
    EXPECT_TRUE(b.editing());
    EXPECT_EQ(editor.text(), "old");
    editor.type("second");
    // Hiding the box stops its edit and keeps its text.
    b.handle(ShowObject(false));
    EXPECT_FALSE(editor.active());
    EXPECT_FALSE(b.editing());
    EXPECT_EQ(b.text(), "old");
    // A refused request leaves the box idle.
    editor.set_refuse(true);
    scene.window.mouse_button(15, 15, MouseClick::left);
    EXPECT_FALSE(a.editing());
}
