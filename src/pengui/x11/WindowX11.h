#pragma once

#include "pengui/Rect.h"
#include "pengui/WindowInterface.h"
#include "pengui/x11/EventTargetX11.h"

#include <cstdint>

struct _XGC;

namespace pengui {

class EventLoopX11;

// The toolkit's window on X11: a child of the host's window at (0, 0), its
// buffer blitted tile by tile, the mouse captured by a pointer grab, the
// cursor hidden with XFixes and warped back under a relative capture, the
// timers kept by the event loop, text edited in the layer's own popup.
//
// Where X11 differs from Win32: the parent is given as a window id (see
// parent_handle); expose rectangles and Invalidate requests are unioned and
// painted once at the end of each dispatch round; double clicks are found
// from the press times (500 ms, 4 x 4 pixels, as Win32's defaults); close
// destroys the native window (timers stay armed until the window object
// goes); a pointer grab the server ends (window unmapped, another client)
// is a capture change.
//
// Everything runs on the thread of the loop.
class WindowX11 : public WindowInterface, public EventTargetX11 {
public:
    // Defaults of the system settings Win32 reads.
    static constexpr int double_click_ms = 500;
    static constexpr int double_click_distance = 2; // either way: a 4 x 4 square
    // The classic button face, for the area outside the content.
    static constexpr unsigned long margin_colour = 0xC0C0C0;

    // [editor thread] A window of width x height on the loop's display.
    WindowX11(EventLoopX11& loop, int width, int height);
    ~WindowX11() override;
    // [editor thread] The window a host adapter gives the editor: width x
    // height on the process's shared connection; null when no display
    // answers.
    static std::unique_ptr<WindowX11> create(int width, int height);

    // [editor thread] What open takes for the X window parent.
    static void* parent_handle(unsigned long parent) {
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent));
    }

    // [editor thread] Destroys the native window; open makes a new one.
    void close() override;
    // [editor thread] The loop's connection and its dispatch: every window
    // of the loop is served.
    int event_fd() const override;
    int dispatch_events() override;

    // [editor thread] The X window, 0 while closed.
    unsigned long native() const { return native_; }
    EventLoopX11& loop() const { return loop_; }

    void handle_event(const _XEvent& event) override;
    void end_of_round() override;

protected:
    // [editor thread] parent: an X window id as parent_handle gives it.
    // 0, or -1 (no parent, a visual other than 24/32-bit TrueColor, ...).
    int open_native(void* parent) override;
    bool is_open() const override { return native_ != 0; }
    void invalidate_native(const Rect& area) override;
    void resize_native(int width, int height) override;
    int grab_mouse() override;
    void ungrab_mouse() override;
    bool hide_cursor() override;
    void show_cursor() override;
    void warp_pointer(int x, int y) override;
    // [editor thread] The shortest period is Win32's, 10 ms.
    int start_timer(int id, int period_ms) override;
    int stop_timer(int id) override;
    void fill_margin(const Rect& area) override;

private:
    // [editor thread] Lets go of everything tied to the native window.
    void forget_native();
    void button(const _XEvent& event, bool press);
    // Whether an event of serial was sent before the last warp.
    bool before_warp(unsigned long serial) const { return serial < warp_serial_; }
    bool viewable() const;

    EventLoopX11& loop_;
    unsigned long native_ = 0;
    _XGC* gc_ = nullptr;
    Rect dirty_;
    unsigned long warp_serial_ = 0;
    unsigned long grab_serial_ = 0;
    bool grabbed_ = false;
    // The last press, for double clicks.
    int press_button_ = 0;
    unsigned long press_time_ = 0;
    int press_x_ = 0;
    int press_y_ = 0;
};

} // namespace pengui
