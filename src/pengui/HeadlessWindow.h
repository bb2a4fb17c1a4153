#pragma once

#include "pengui/PixelImage.h"
#include "pengui/Rect.h"
#include "pengui/TimerSchedule.h"
#include "pengui/WindowInterface.h"

namespace pengui {

class MemoryRenderingBuffer;
class ScriptedTextLineEditor;

// A window without a window system: a memory rendering buffer, a scripted
// line editor and timers run against the toolkit clock. It keeps the dirty
// region the trees ask for, records capture and cursor requests, and paints
// any rectangle of the scene through the real tile loop into a whole image.
// Tests drive it with synthetic input (mouse_move, mouse_button); the
// editor's offscreen screenshot uses it too. It opens only without a
// parent: asked to open inside a native window it fails (-1), as no window
// system is behind it. Its pointer is the synthetic one: a relative capture
// never moves it while it drags.
class HeadlessWindow : public WindowInterface {
public:
    // [editor thread] A window of width x height with a 128 x 128 buffer.
    HeadlessWindow(int width, int height);
    ~HeadlessWindow() override;

    void close() override {}
    // [editor thread] The screen image takes the new size (blank).
    void content_size_changed() override;

    // [editor thread] The system takes the mouse away.
    void lose_capture() { capture_changed(); }
    // [editor thread] Delivers Notify to every timer whose period has run
    // out by now (the toolkit clock), at most once each, in the order they
    // were armed.
    void run_timers() { timers_.fire_due(); }

    // [editor thread] A whole image of the rectangle, painted tile by tile.
    PixelImage render(const Rect& rect);
    // [editor thread] Paints the dirty region into the screen image and
    // empties it.
    void paint();
    const PixelImage& screen() const { return screen_; }
    // [editor thread] The union of the rectangles invalidated since the last
    // paint (empty: x0 == x1).
    const Rect& dirty() const { return dirty_; }

    // Recorded requests, and refusals a test can order.
    void set_refuse_timers(bool refuse) { refuse_timers_ = refuse; }
    void set_refuse_capture(bool refuse) { refuse_capture_ = refuse; }
    int capture_requests() const { return capture_requests_; }
    // The last place the cursor was put back after a relative capture, and
    // how often that happened.
    int warps() const { return warps_; }
    int warp_x() const { return warp_x_; }
    int warp_y() const { return warp_y_; }
    // The period (ms) of the running timer id, or -1 without it.
    int timer_period_ms(int id) const { return timers_.period_ms(id); }
    int running_timers() const { return timers_.size(); }
    ScriptedTextLineEditor& editor();

protected:
    int open_native(void* parent) override;
    bool is_open() const override { return open_; }
    void invalidate_native(const Rect& area) override;
    void resize_native(int, int) override {}
    int grab_mouse() override;
    void ungrab_mouse() override {}
    bool hide_cursor() override { return true; }
    void show_cursor() override {}
    void warp_pointer(int x, int y) override;
    bool recentres_pointer() const override { return false; }
    int start_timer(int id, int period_ms) override;
    int stop_timer(int id) override;
    void fill_margin(const Rect&) override {}

private:
    MemoryRenderingBuffer* memory_;
    PixelImage screen_;
    Rect dirty_;
    bool open_ = false;
    TimerSchedule timers_{max_timers};
    bool refuse_timers_ = false;
    bool refuse_capture_ = false;
    int capture_requests_ = 0;
    int warps_ = 0;
    int warp_x_ = 0;
    int warp_y_ = 0;
};

} // namespace pengui
