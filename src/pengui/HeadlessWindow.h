#pragma once

#include "pengui/PixelImage.h"
#include "pengui/Rect.h"
#include "pengui/ToolkitClock.h"
#include "pengui/WindowInterface.h"

#include <array>

namespace pengui {

class MemoryRenderingBuffer;
class ScriptedTextLineEditor;
class SetTimer;

// A window without a window system: a memory rendering buffer, a scripted
// line editor and a timer table run against the toolkit clock. It keeps the
// dirty region the trees ask for, records capture and cursor requests, and
// paints any rectangle of the scene through the real tile loop into a whole
// image. Tests drive it with synthetic input; the editor's offscreen
// screenshot uses it too. It opens only without a parent: asked to open
// inside a native window it fails (-1), as no window system is behind it.
class HeadlessWindow : public WindowInterface {
public:
    // [editor thread] A window of width x height with a 128 x 128 buffer.
    HeadlessWindow(int width, int height);
    ~HeadlessWindow() override;

    // [editor thread] The up-going messages: Invalidate, MouseCapture,
    // MouseRelease, SetTimer, ClearTimer, TextInputRequest, TextInputStop.
    // Anything else, and anything before open, gives -1.
    int handle(const MessageInterface& message) override;
    void close() override;
    // [editor thread] The screen image takes the new size (blank).
    void content_size_changed() override;

    // Input, as the window system would deliver it: to the capture holder
    // if there is one, else to the control root.
    // [editor thread] Under a relative capture the holder hears the
    // movement since the previous point instead.
    void mouse_move(int x, int y);
    // [editor thread] buttons: those held after the event.
    void mouse_button(int x, int y, int buttons, int modifiers = 0, int double_click = 0);
    // [editor thread] The system takes the mouse away.
    void lose_capture();
    // [editor thread] Delivers Notify to every timer whose period has run
    // out by now (the toolkit clock), at most once each, in id order.
    void run_timers();

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
    bool cursor_hidden() const { return cursor_hidden_; }
    int capture_requests() const { return capture_requests_; }
    // The last place the cursor was put back after a relative capture, and
    // how often that happened.
    int warps() const { return warps_; }
    int warp_x() const { return warp_x_; }
    int warp_y() const { return warp_y_; }
    // The period (ms) of the running timer id, or -1 without it.
    int timer_period_ms(int id) const;
    int running_timers() const { return armed_count_; }
    ScriptedTextLineEditor& editor();

protected:
    int open_native(void* parent) override;

private:
    struct Armed {
        int id;
        int period_ms;
        long long due_ms; // whole milliseconds, as a system timer counts
    };
    static long long milliseconds(double seconds);
    MessageHandlerInterface* input_target();
    int arm(const SetTimer& message);
    int disarm(int id);

    MemoryRenderingBuffer* memory_;
    PixelImage screen_;
    Rect dirty_;
    bool open_ = false;
    std::array<Armed, max_timers> armed_{};
    int armed_count_ = 0;
    bool refuse_timers_ = false;
    bool refuse_capture_ = false;
    bool cursor_hidden_ = false;
    int capture_requests_ = 0;
    double capture_time_ = 0;
    int last_x_ = 0;
    int last_y_ = 0;
    int warps_ = 0;
    int warp_x_ = 0;
    int warp_y_ = 0;
};

} // namespace pengui
