// The X11 window layer on a real server (the suite's virtual display): the
// window's pixels as the server holds them equal the headless render of the
// same scene; real input from xdotool turns a knob under a relative capture,
// edits a text box, clicks twice; timers tick at their periods; the server
// taking the grab away is a capture change; opening and closing leaves no
// window and no shared memory behind.
#include "X11Session.h"
#include "support/ConnectWithRetries.h"

#include "pengui/HeadlessWindow.h"
#include "pengui/Rect.h"
#include "pengui/TextLineEditorInterface.h"
#include "pengui/x11/RenderingBufferX11.h"
#include "pengui/x11/WindowX11.h"

// Xlib's macros (None, Bool, ...) come after the test framework's names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "support/ChildWindows.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <unistd.h>

using namespace pengui;
using test::SkinScene;

namespace {

int shared_memory_segments() {
    std::ifstream list("/proc/sysvipc/shm");
    int lines = 0;
    for (std::string line; std::getline(list, line);) {
        ++lines;
    }
    return lines;
}

// A key of the server's keyboard given a Latin-1 keysym while the test runs
// (the virtual display's keyboard has none), taken back however it ends.
class LatinKey {
public:
    LatinKey(Display* display, KeySym sym) : display_(display) {
        int min = 0;
        int max = 0;
        XDisplayKeycodes(display_, &min, &max);
        int per_code = 0;
        KeySym* map =
            XGetKeyboardMapping(display_, static_cast<KeyCode>(min), max - min + 1, &per_code);
        for (int code = max; code >= min && code_ == 0; --code) {
            if (map[(code - min) * per_code] == NoSymbol) {
                code_ = code;
            }
        }
        XFree(map);
        KeySym syms[2] = {sym, sym};
        XChangeKeyboardMapping(display_, code_, 2, syms, 1);
        XSync(display_, False);
    }
    ~LatinKey() {
        KeySym none[2] = {NoSymbol, NoSymbol};
        XChangeKeyboardMapping(display_, code_, 2, none, 1);
        XSync(display_, False);
    }

private:
    Display* display_;
    int code_ = 0;
};

using test::connect_with_retries;

Display* open_other_client() {
    return connect_with_retries([] { return XOpenDisplay(nullptr); });
}

class WindowX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") != nullptr) {
            loop = connect_with_retries([] { return EventLoopX11::connect(); });
        }
        if (!loop) {
            GTEST_SKIP() << "no X display to open (DISPLAY is unset or refused); make test runs "
                            "these checks inside a virtual display";
        }
        display = loop->display();
        // The host's window, at the screen's top-left, so that window and
        // screen points agree.
        host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, SkinScene::width,
                                   SkinScene::height, 0, 0, 0);
        XMapWindow(display, host);
        XSync(display, False);
    }
    void TearDown() override {
        if (loop) {
            XDestroyWindow(display, host);
            XSync(display, False);
        }
    }

    bool has_xdotool() const { return std::system("command -v xdotool >/dev/null") == 0; }
    // Runs xdotool with args, then lets the window handle what it caused.
    // (xdotool fails before doing anything when its connection is refused.)
    void xdo(const std::string& args, int settle_ms = 60) {
        const std::string command = "xdotool " + args + " 2>/dev/null";
        int status = std::system(command.c_str());
        for (int i = 0; i < 10 && status != 0; ++i) {
            usleep(50000);
            status = std::system(command.c_str());
        }
        ASSERT_EQ(status, 0) << args;
        loop->run_for(settle_ms);
    }
    void pointer(int& x, int& y) {
        Window root = 0;
        Window child = 0;
        int wx = 0;
        int wy = 0;
        unsigned mask = 0;
        XQueryPointer(display, host, &root, &child, &x, &y, &wx, &wy, &mask);
    }
    // Pixels of the X window that differ from the headless render.
    int differences(WindowX11& window, HeadlessWindow& headless, std::string& first) {
        XSync(display, False);
        const PixelImage expected =
            headless.render(Rect{0, 0, SkinScene::width, SkinScene::height});
        XImage* image = XGetImage(display, window.native(), 0, 0, SkinScene::width,
                                  SkinScene::height, AllPlanes, ZPixmap);
        if (image == nullptr) {
            first = "no image";
            return -1;
        }
        int count = 0;
        for (int y = 0; y < SkinScene::height; ++y) {
            for (int x = 0; x < SkinScene::width; ++x) {
                const std::uint32_t got = XGetPixel(image, x, y) & 0xFFFFFF;
                if (got != expected.rgb(x, y) && count++ == 0) {
                    first = std::to_string(x) + "," + std::to_string(y);
                }
            }
        }
        XDestroyImage(image);
        return count;
    }

    std::unique_ptr<EventLoopX11> loop;
    Display* display = nullptr;
    Window host = 0;
};

// A window with the skin scene, open in the host's window and painted.
struct OpenScene {
    OpenScene(EventLoopX11& loop, Window host, int settle_ms = 80)
        : window(loop, SkinScene::width, SkinScene::height), scene(window) {
        window.set_text_font(scene.font.get());
        result = window.open(WindowX11::parent_handle(host));
        loop.run_for(settle_ms);
    }
    WindowX11 window;
    SkinScene scene;
    int result;
};

} // namespace

TEST_F(WindowX11Test, the_window_shows_exactly_the_headless_render_of_each_state) {
    const struct {
        const char* state;
        std::function<void(SkinScene&)> change;
    } states[] = {
        {"as built", [](SkinScene&) {}},
        {"knob turned", [](SkinScene& s) { s.knob.set_value_from_outside(0.8, 1); }},
        {"text changed", [](SkinScene& s) { s.text.set_text("1/16 beat"); }},
        {"knob at the start", [](SkinScene& s) { s.knob.set_value_from_outside(0.0, 1); }},
    };
    const bool offered = loop->has_shared_memory();
    for (const bool shared : {true, false}) {
        if (shared && !offered) {
            continue; // the server has no MIT-SHM: only the XPutImage path
        }
        if (!shared) {
            loop->disable_shared_memory();
        }
        OpenScene x(*loop, host);
        ASSERT_EQ(x.result, 0);
        ASSERT_EQ(
            static_cast<RenderingBufferX11&>(x.window.rendering_buffer()).uses_shared_memory(),
            shared);
        HeadlessWindow headless(SkinScene::width, SkinScene::height);
        SkinScene reference(headless);
        headless.open(nullptr);
        for (const auto& st : states) {
            st.change(x.scene);
            st.change(reference);
            loop->run_for(40);
            std::string first;
            EXPECT_EQ(differences(x.window, headless, first), 0)
                << st.state << (shared ? " (MIT-SHM)" : " (XPutImage)") << ", first at " << first;
        }
    }
}

TEST_F(WindowX11Test, each_round_paints_the_union_of_what_it_made_dirty_once) {
    OpenScene x(*loop, host);
    ASSERT_EQ(x.result, 0);
    int& tiles = x.scene.band_item.tiles;
    // Tiles of 128 x 128 from the union's top-left corner.
    const struct {
        const char* name;
        std::vector<Rect> invalid;
        std::vector<Rect> exposed;
        int tiles;
    } cases[] = {
        {"nothing", {}, {}, 0},
        {"two corners", {{0, 0, 10, 10}, {300, 100, 310, 110}}, {}, 3},
        {"inside one tile", {{10, 10, 20, 20}, {100, 100, 120, 110}}, {}, 1},
        {"beyond the content", {{490, 110, 900, 900}}, {}, 1},
        {"exposed by the server", {}, {{0, 0, 5, 5}, {200, 0, 205, 5}}, 2},
        {"exposed and invalidated", {{0, 0, 5, 5}}, {{129, 0, 140, 5}}, 2},
    };
    for (const auto& c : cases) {
        loop->run_for(20);
        tiles = 0;
        for (const Rect& r : c.invalid) {
            EXPECT_EQ(x.window.handle(Invalidate(r)), 0);
        }
        for (const Rect& r : c.exposed) {
            XClearArea(display, x.window.native(), r.x0, r.y0, unsigned(r.x1 - r.x0),
                       unsigned(r.y1 - r.y0), True);
        }
        XSync(display, False);
        loop->dispatch();
        EXPECT_EQ(tiles, c.tiles) << c.name;
    }
}

TEST_F(WindowX11Test, a_drag_turns_the_knob_past_the_screen_edge_and_the_cursor_comes_back) {
    if (!has_xdotool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    OpenScene x(*loop, host);
    ASSERT_EQ(x.result, 0);
    SkinScene::TravelKnob& knob = x.scene.knob;
    knob.set_value_from_outside(0.3, 1);
    xdo("mousemove " + std::to_string(SkinScene::knob_x) + " " + std::to_string(SkinScene::knob_y));
    xdo("mousedown 1", 300); // past the time in which the cursor stays put
    EXPECT_EQ(x.window.capture_holder(), &knob);
    EXPECT_EQ(x.window.capture_mode(), 2);
    EXPECT_TRUE(x.window.cursor_hidden());
    knob.travel_x = knob.travel_y = 0;
    // 3 x 40 pixels up from 60 pixels below the screen's top: without the
    // warps back the pointer would stop at the edge after half of it.
    for (int i = 0; i < 3; ++i) {
        xdo("mousemove_relative -- 0 -40", 150);
        int px = 0;
        int py = 0;
        pointer(px, py);
        EXPECT_EQ(px, SkinScene::knob_x) << "move " << i;
        EXPECT_EQ(py, SkinScene::knob_y) << "move " << i;
    }
    // Every pixel of the drag reached the knob, as movements.
    EXPECT_EQ(knob.travel_x, 0);
    EXPECT_EQ(knob.travel_y, -120);
    xdo("mouseup 1");
    EXPECT_EQ(x.window.capture_holder(), nullptr);
    EXPECT_FALSE(x.window.cursor_hidden());
    int px = 0;
    int py = 0;
    pointer(px, py);
    EXPECT_EQ(px, SkinScene::knob_x);
    EXPECT_EQ(py, SkinScene::knob_y);
    EXPECT_GT(knob.value(), 0.3 + 60.0 / 1000.0);
}

TEST_F(WindowX11Test, the_popup_editor_edits_the_box_text_with_real_keys) {
    if (!has_xdotool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    const struct {
        const char* edit;
        const char* end;
        const char* text;
    } cases[] = {
        {"type --delay 20 3/8", "key Return", "3/8"},
        {"type --delay 20 3/8", "key Escape", "Quevrin"},
        {"key --delay 20 End BackSpace Home Delete Right x", "key KP_Enter", "uxevri"},
        {"type --delay 20 abc", "mousemove 10 10 click 1", "abc"},
        {"type --delay 20 xyz", "windowfocus HOST", "xyz"},          // the focus taken away
        {"click 1 type --delay 20 q", "key Return", "q"},            // a click inside keeps editing
        {"key --delay 20 Left eacute", "key Return", "\xe9Quevrin"}, // Latin-1
        {"key --delay 20 End ctrl+a x", "key Return", "x"},          // select all
        {"key --delay 20 ctrl+c ctrl+v", "key Return", "Quevrin"},   // types nothing
        {"key --delay 20 End Left shift+Home y", "key Return", "yn"},
        {"key --delay 20 Home Right shift+End z", "key Return", "Qz"},
    };
    LatinKey eacute(display, XK_eacute);
    OpenScene x(*loop, host);
    ASSERT_EQ(x.result, 0);
    for (const auto& c : cases) {
        x.scene.text.set_text("Quevrin");
        xdo("mousemove " + std::to_string(SkinScene::text_x + 40) + " " +
            std::to_string(SkinScene::text_y + 7) + " click 1");
        ASSERT_TRUE(x.window.text_editor().active()) << c.edit;
        xdo(c.edit);
        std::string end = c.end;
        if (end.find("HOST") != std::string::npos) {
            end.replace(end.find("HOST"), 4, std::to_string(host));
        }
        xdo(end);
        EXPECT_FALSE(x.window.text_editor().active()) << c.edit;
        EXPECT_EQ(x.scene.text.text(), c.text) << c.edit << " / " << c.end;
    }
    EXPECT_EQ(loop->native_windows(), 1); // the popups are gone
}

TEST_F(WindowX11Test, presses_close_in_time_and_place_are_double_clicks) {
    if (!has_xdotool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    const struct {
        const char* clicks;
        std::vector<std::string> log;
    } cases[] = {
        {"click --repeat 2 --delay 100 1", {"1/0", "0/0", "1/1", "0/0"}},
        {"click --repeat 2 --delay 700 1", {"1/0", "0/0", "1/0", "0/0"}},
        {"click --repeat 3 --delay 100 3", {"2/0", "0/0", "2/2", "0/0", "2/0", "0/0"}},
    };
    OpenScene x(*loop, host);
    ASSERT_EQ(x.result, 0);
    xdo("mousemove " + std::to_string(SkinScene::clicks_x + 5) + " " +
        std::to_string(SkinScene::clicks_y + 5));
    for (const auto& c : cases) {
        x.scene.clicks.log.clear();
        xdo(c.clicks, 100);
        EXPECT_EQ(x.scene.clicks.log, c.log) << c.clicks;
        loop->run_for(600); // the next case starts afresh
    }
}

TEST_F(WindowX11Test, timers_tick_at_their_periods_and_stop_when_cleared) {
    OpenScene x(*loop, host);
    ASSERT_EQ(x.result, 0);
    struct Counter : MessageHandlerInterface {
        int handle(const MessageInterface& m) override {
            ticks += dynamic_cast<const Notify*>(&m) != nullptr ? 1 : 0;
            return 0;
        }
        int ticks = 0;
    } counter;
    int id = 0;
    ASSERT_EQ(x.window.handle(SetTimer(counter, 0.03f, &id)), 0);
    EXPECT_EQ(x.window.handle(ClearTimer(id + 1000)), 0); // never armed
    loop->run_for(600);
    // 20 periods; a loaded machine may run late, never early.
    EXPECT_LE(counter.ticks, 20);
    EXPECT_GE(counter.ticks, 10);
    EXPECT_EQ(x.window.handle(ClearTimer(id)), 0);
    const int ticks = counter.ticks;
    loop->run_for(100);
    EXPECT_EQ(counter.ticks, ticks);
    EXPECT_EQ(loop->next_deadline_ms(), -1);

    // The push button's animation runs on a timer and ends on its first frame.
    if (has_xdotool()) {
        xdo("mousemove " + std::to_string(SkinScene::button_x + 6) + " " +
                std::to_string(SkinScene::button_y + 6) + " click 1",
            0);
        double furthest = 0;
        for (int i = 0; i < 40; ++i) {
            loop->run_for(10);
            furthest = std::max(furthest, x.scene.button.animation_position());
        }
        EXPECT_GT(furthest, 0.5);
        EXPECT_EQ(x.scene.button.animation_position(), 0.0);
        EXPECT_EQ(loop->next_deadline_ms(), -1);
    }
}

TEST_F(WindowX11Test, capture_modes_hide_the_cursor_and_put_it_back_as_asked) {
    if (!has_xdotool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    struct Holder : MessageHandlerInterface {
        int handle(const MessageInterface& m) override {
            lost += dynamic_cast<const MouseCaptureLost*>(&m) != nullptr ? 1 : 0;
            return 0;
        }
        int lost = 0;
    };
    const struct {
        const char* name;
        int mode;
        bool other_client_grabs;
        int held_ms;
        int result;
        bool hidden;
        bool put_back;
    } cases[] = {
        {"plain", 0, false, 300, 0, false, false},
        {"hidden", 1, false, 300, 0, true, false},
        {"relative, released at once", 2, false, 0, 0, true, false},
        {"relative, held", 2, false, 300, 0, true, true},
        {"the pointer already grabbed elsewhere", 2, true, 0, -1, false, false},
    };
    OpenScene x(*loop, host);
    ASSERT_EQ(x.result, 0);
    for (const auto& c : cases) {
        xdo("mousemove 50 90");
        Display* other = open_other_client();
        ASSERT_NE(other, nullptr);
        if (c.other_client_grabs) {
            ASSERT_EQ(XGrabPointer(other, DefaultRootWindow(other), False, ButtonPressMask,
                                   GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
                      GrabSuccess);
            XSync(other, False);
        }
        Holder holder;
        EXPECT_EQ(x.window.handle(MouseCapture(holder, c.mode)), c.result) << c.name;
        EXPECT_EQ(x.window.cursor_hidden(), c.hidden) << c.name;
        loop->run_for(c.held_ms);
        EXPECT_EQ(x.window.handle(MouseRelease(holder, 30, 40)), 0) << c.name;
        loop->run_for(20);
        EXPECT_FALSE(x.window.cursor_hidden()) << c.name;
        EXPECT_EQ(holder.lost, c.result == 0 ? 1 : 0) << c.name;
        int px = 0;
        int py = 0;
        pointer(px, py);
        EXPECT_EQ(px, c.put_back ? 30 : 50) << c.name;
        EXPECT_EQ(py, c.put_back ? 40 : 90) << c.name;
        XCloseDisplay(other);
    }
}

TEST_F(WindowX11Test, a_grab_the_server_ends_is_a_capture_change) {
    if (!has_xdotool()) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    OpenScene x(*loop, host);
    ASSERT_EQ(x.result, 0);
    xdo("mousemove " + std::to_string(SkinScene::knob_x) + " " + std::to_string(SkinScene::knob_y));
    xdo("mousedown 1");
    ASSERT_EQ(x.window.capture_holder(), &x.scene.knob);
    // Another client hides the host's window: the grab window is no longer
    // viewable and the server ends the grab.
    Display* other = open_other_client();
    ASSERT_NE(other, nullptr);
    XUnmapWindow(other, host);
    XSync(other, False);
    loop->run_for(100);
    EXPECT_EQ(x.window.capture_holder(), nullptr);
    EXPECT_FALSE(x.window.cursor_hidden());
    // The pointer is free: the other client can take it.
    EXPECT_EQ(XGrabPointer(other, DefaultRootWindow(other), False, ButtonPressMask, GrabModeAsync,
                           GrabModeAsync, None, None, CurrentTime),
              GrabSuccess);
    XUngrabPointer(other, CurrentTime);
    XCloseDisplay(other);
    xdo("mouseup 1");
}

TEST_F(WindowX11Test, opening_and_closing_200_times_leaves_nothing_behind) {
    const int segments = shared_memory_segments();
    for (int i = 0; i < 200; ++i) {
        OpenScene x(*loop, host, 0);
        ASSERT_EQ(x.result, 0) << i;
        x.window.handle(Invalidate(Rect{0, 0, SkinScene::width, SkinScene::height}));
        loop->dispatch();
        if (i % 2 == 0) {
            x.window.close(); // else the destructor closes it
        }
    }
    loop->dispatch();
    EXPECT_TRUE(test::child_windows(display, host).empty());
    EXPECT_EQ(loop->native_windows(), 0);
    EXPECT_EQ(shared_memory_segments(), segments);
}

TEST_F(WindowX11Test, opens_that_cannot_succeed_are_refused_and_make_nothing) {
    const struct {
        const char* name;
        Window parent;
    } cases[] = {{"no parent", 0}, {"a parent that does not exist", 0x7FFFFFF}};
    for (const auto& c : cases) {
        WindowX11 window(*loop, 100, 100);
        EXPECT_EQ(window.open(WindowX11::parent_handle(c.parent)), -1) << c.name;
        EXPECT_EQ(window.native(), 0u) << c.name;
        EXPECT_EQ(loop->native_windows(), 0) << c.name;
    }
    // No server at that address: no loop, a value and not an exit.
    EXPECT_EQ(EventLoopX11::connect("unix:65000"), nullptr);

    // The adapter's window on the shared connection opens like any other.
    std::unique_ptr<WindowX11> shared =
        connect_with_retries([] { return WindowX11::create(100, 100); });
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->open(WindowX11::parent_handle(host)), 0);
    EXPECT_EQ(&shared->loop(), EventLoopX11::shared());
    shared.reset();

    // The class name carries the module's address; the title is the maker's.
    OpenScene x(*loop, host);
    ASSERT_EQ(x.result, 0);
    XClassHint hint{};
    ASSERT_NE(XGetClassHint(display, x.window.native(), &hint), 0);
    EXPECT_EQ(std::string(hint.res_class).rfind("VantrelAudioPlugin", 0), 0u);
    EXPECT_EQ(std::string(hint.res_class).size(), 26u);
    XFree(hint.res_name);
    XFree(hint.res_class);
    char* name = nullptr;
    ASSERT_NE(XFetchName(display, x.window.native(), &name), 0);
    EXPECT_STREQ(name, "Vantrel Audio Plug-in");
    XFree(name);
}
