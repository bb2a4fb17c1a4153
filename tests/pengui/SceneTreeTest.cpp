// The scene tree and the window's neutral half: split lookup and band
// replacement, point versus area delivery, up-going messages, timers and the
// mouse capture.
#include "pengui/BackgroundItem.h"
#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/ToolkitHarness.h"

#include <gtest/gtest.h>

using namespace pengui;

namespace {

// A control that logs the messages it is handed and paints its box in a
// colour.
class Probe : public ControlInterface {
public:
    explicit Probe(std::uint32_t c = 0) : colour(c) {}
    int on_click(const MouseClick&) override {
        ++clicks;
        return 7;
    }
    int on_redraw(const Redraw& m) override {
        ++redraws;
        const Rect r = local(m.rect);
        for (int y = std::max(r.y0, y0); y < std::min(r.y1, y1); ++y) {
            for (int x = std::max(r.x0, x0); x < std::min(r.x1, x1); ++x) {
                std::uint8_t* p = m.buffer->pixel(x - r.x0, y - r.y0);
                p[0] = colour & 0xFF;
                p[1] = (colour >> 8) & 0xFF;
                p[2] = colour >> 16;
            }
        }
        return 0;
    }
    int on_timer(const Notify& n) override {
        ticks.push_back(n.id);
        return 0;
    }
    int on_capture_lost(const MouseCaptureLost&) override {
        ++lost;
        return 0;
    }
    std::uint32_t colour;
    int clicks = 0;
    int redraws = 0;
    int lost = 0;
    std::vector<int> ticks;
};

} // namespace

TEST(SPTreeSplit, maps_every_coordinate_to_a_band) {
    BackgroundSplit row(SPTreeSplit::row);
    BackgroundItem a, b;
    row.set_position(10, 0);
    row.add_child(&a, 100);
    row.add_child(&b, 50);
    const struct {
        int c;
        int child;
    } cases[] = {{109, 0}, {110, 1}, {159, 1}, {500, 1}, {0, 0}, {10, 0}, {-2147483647 - 1, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(row.child_at(c.c), c.child) << c.c;
    }
    EXPECT_EQ(b.x(), 110);
    EXPECT_EQ(b.parent(), &row);
}

TEST(SPTreeSplit, replacing_a_band_moves_the_following_ones_and_hides_the_old) {
    HeadlessWindow window(100, 100);
    BackgroundSplit column;
    BackgroundItem top, middle, other, bottom;
    window.set_background_root(&column);
    column.add_child(&top, 10);
    column.add_child(&middle, 20);
    column.add_child(&bottom, 30);
    column.set_position(0, 5);
    window.open(nullptr);
    ASSERT_TRUE(middle.visible());
    EXPECT_EQ(bottom.y(), 35);
    EXPECT_EQ(column.replace_child(&other, 25, 1), 0);
    EXPECT_EQ(other.y(), 15);
    EXPECT_EQ(bottom.y(), 40);
    EXPECT_TRUE(other.visible());
    EXPECT_FALSE(middle.visible());
    EXPECT_EQ(middle.parent(), nullptr);
    EXPECT_EQ(column.replace_child(&middle, 1, 3), -1);
    EXPECT_EQ(column.remove_child(0), 0);
    EXPECT_EQ(other.y(), 5);
    EXPECT_FALSE(top.visible());
}

TEST(CtrlGroupItem, a_point_reaches_the_first_control_an_area_every_overlapping_one) {
    test::ControlScene scene;
    Probe first(0xFF0000), second(0x00FF00), unset;
    scene.add(first, 10, 10, 20, 20);
    scene.add(second, 20, 20, 20, 20); // overlaps first in (20..30, 20..30)
    scene.group.add_control(&unset);   // bounding box never set
    scene.open();
    EXPECT_TRUE(first.shown());
    EXPECT_FALSE(unset.shown());
    struct Case {
        int x, y;
        int first_clicks, second_clicks;
        int result;
    };
    const Case cases[] = {{25, 25, 1, 0, 7},
                          {35, 35, 0, 1, 7},
                          {5, 5, 0, 0, 0},
                          {10, 10, 1, 0, 7},
                          {30, 30, 0, 1, 7}};
    for (const Case& c : cases) {
        first.clicks = second.clicks = unset.clicks = 0;
        EXPECT_EQ(scene.group.handle(MouseClick(c.x, c.y, 1)), c.result) << c.x;
        EXPECT_EQ(first.clicks, c.first_clicks) << c.x;
        EXPECT_EQ(second.clicks, c.second_clicks) << c.x;
        EXPECT_EQ(unset.clicks, 0);
    }
    // An area inside the first only; then one over both: the later paints on top.
    PixelImage one = scene.window.render(Rect{10, 10, 15, 15});
    EXPECT_EQ(first.redraws, 1);
    EXPECT_EQ(second.redraws, 0);
    PixelImage both = scene.window.render(Rect{0, 0, 50, 50});
    EXPECT_EQ(both.rgb(12, 12), 0xFF0000u);
    EXPECT_EQ(both.rgb(25, 25), 0x00FF00u);
    EXPECT_EQ(both.rgb(35, 35), 0x00FF00u);
    EXPECT_EQ(unset.redraws, 0);
    EXPECT_EQ(one.rgb(0, 0), 0xFF0000u);
}

TEST(ControlDispatch, presses_focus_releases_do_not_and_hidden_controls_stay_quiet) {
    test::ControlScene scene;
    Probe probe;
    test::LoggingListener listener;
    probe.set_listener(&listener);
    EXPECT_EQ(listener.attached_control(), &probe);
    scene.add(probe, 0, 0, 10, 10);
    // Up-going messages from a control without a window behind it fail.
    Probe orphan;
    EXPECT_EQ(orphan.handle(Invalidate(Rect{0, 0, 1, 1})), -1);
    EXPECT_EQ(orphan.handle(TextInputStop()), -1);
    scene.open();
    probe.handle(MouseClick(1, 1, 0));
    EXPECT_FALSE(probe.focused());
    probe.handle(MouseClick(1, 1, MouseClick::left));
    EXPECT_TRUE(probe.focused());
    EXPECT_TRUE(listener.has("focus"));
    EXPECT_EQ(scene.window.dirty().x1, 0);
    probe.invalidate();
    EXPECT_EQ(scene.window.dirty().x1, 10);
    scene.window.paint();
    probe.handle(ShowObject(false));
    EXPECT_EQ(probe.invalidate(), 0);
    EXPECT_EQ(scene.window.dirty().x1, 0);
    MemoryRenderingBuffer buffer;
    probe.redraws = 0;
    EXPECT_EQ(probe.handle(Redraw(buffer, Rect{0, 0, 10, 10})), 0);
    EXPECT_EQ(probe.redraws, 0);
}

TEST(WindowTimers, ids_follow_one_sequence_and_ticks_reach_their_handler) {
    test::FakeClock clock;
    test::ControlScene scene;
    Probe a, b;
    scene.add(a, 0, 0, 5, 5);
    scene.add(b, 10, 0, 5, 5);
    int id_a = -1, id_b = -1, refused = -1;
    // Before open the window refuses; the id is spent anyway.
    EXPECT_EQ(a.handle(SetTimer(a, 0.03f, &refused)), -1);
    scene.open();
    EXPECT_TRUE(a.start_timer(0.03f, id_a));
    EXPECT_TRUE(b.start_timer(0.1f, id_b));
    EXPECT_EQ(id_a, refused + 1);
    EXPECT_EQ(id_b, id_a + 1);
    EXPECT_EQ(scene.window.timer_period_ms(id_a), 30);
    EXPECT_EQ(scene.window.timer_period_ms(id_b), 100);
    for (int ms = 10; ms <= 100; ms += 10) {
        clock.set(ms / 1000.0);
        scene.window.run_timers();
    }
    EXPECT_EQ(a.ticks, (std::vector<int>{id_a, id_a, id_a}));
    EXPECT_EQ(b.ticks, (std::vector<int>{id_b}));
    // Clearing: a running id, then one never armed (0, nothing happens).
    EXPECT_EQ(a.handle(ClearTimer(id_a)), 0);
    EXPECT_EQ(a.handle(ClearTimer(999999)), 0);
    EXPECT_EQ(scene.window.running_timers(), 1);
    scene.window.set_refuse_timers(true);
    int id = -1;
    EXPECT_FALSE(a.start_timer(0.03f, id));
    EXPECT_EQ(id, -1);
    // The table is fixed: the 65th timer is refused.
    scene.window.set_refuse_timers(false);
    for (int i = 1; i < WindowInterface::max_timers; ++i) {
        ASSERT_TRUE(a.start_timer(1.0f, id)) << i;
    }
    EXPECT_FALSE(a.start_timer(1.0f, id));
}

TEST(WindowCapture, a_new_holder_takes_the_mouse_and_the_old_one_hears_of_it) {
    test::FakeClock clock;
    test::ControlScene scene;
    Probe a, b;
    scene.add(a, 0, 0, 5, 5);
    scene.add(b, 10, 0, 5, 5);
    scene.open();
    EXPECT_TRUE(a.capture_mouse(2));
    EXPECT_TRUE(scene.window.cursor_hidden());
    EXPECT_TRUE(a.capture_mouse(2)); // the holder again: nothing changes
    EXPECT_EQ(a.lost, 0);
    EXPECT_TRUE(b.capture_mouse(0));
    EXPECT_EQ(a.lost, 1);
    EXPECT_EQ(scene.window.capture_holder(), &b);
    // Input goes to the holder, wherever it is.
    scene.window.mouse_button(2, 2, MouseClick::left);
    EXPECT_EQ(b.clicks, 1);
    EXPECT_EQ(a.clicks, 0);
    // A release from a non-holder changes nothing; the holder's ends it.
    a.release_mouse(1, 1);
    EXPECT_EQ(scene.window.capture_holder(), &b);
    b.release_mouse(1, 1);
    EXPECT_EQ(scene.window.capture_holder(), nullptr);
    EXPECT_EQ(b.lost, 1);
    EXPECT_EQ(scene.window.warps(), 0);
    // A relative capture held 250 ms puts the cursor back; a quicker one not.
    const struct {
        double held;
        int warps;
    } cases[] = {{0.1, 0}, {0.25, 1}};
    for (const auto& c : cases) {
        const int before = scene.window.warps();
        clock.set(10);
        ASSERT_TRUE(a.capture_mouse(2));
        clock.set(10 + c.held);
        a.release_mouse(40, 30);
        EXPECT_EQ(scene.window.warps() - before, c.warps) << c.held;
    }
    EXPECT_EQ(scene.window.warp_x(), 40);
    scene.window.set_refuse_capture(true);
    EXPECT_FALSE(a.capture_mouse(0));
}
