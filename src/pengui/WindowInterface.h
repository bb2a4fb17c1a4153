#pragma once

#include "pengui/MessageHandlerInterface.h"
#include "pengui/Rect.h"
#include "pengui/Scale.h"

#include <array>
#include <cstdint>
#include <memory>

namespace pengui {

class FontInterface;
class MouseCapture;
class MouseRelease;
class RenderingBufferInterface;
class SPTreeNodeInterface;
class SetTimer;
class TextInputRequest;
class TextLineEditorInterface;

// The platform-neutral root of the toolkit: it holds the two tree roots, the
// table of running timers, the mouse capture and the painting loop, owns the
// rendering buffer and the text line editor, and dispatches: the up-going
// messages of the trees, and the input, timer ticks and capture changes of
// the window system. A back end (headless, X11, Win32) opens the native
// window and makes the window-system calls of the protected part below; it
// turns its events into mouse_move, mouse_button, capture_changed,
// fire_timer and paint_region.
//
// Everything runs on the thread that owns the window.
class WindowInterface : public MessageHandlerInterface {
public:
    // At most this many timers run at once per window: the table is fixed,
    // so that arming a timer allocates nothing.
    static constexpr int max_timers = 64;
    // The title every native window of the toolkit carries.
    static constexpr const char* title = "Vantrel Audio Plug-in";
    // [editor thread] The class every native window of this module carries:
    // "VantrelAudioPlugin" and eight hex digits of an address in the module,
    // so that two copies of the module never share a class.
    static const char* class_name();

    // [editor thread] Both sizes start as (width, height).
    WindowInterface(int width, int height, std::unique_ptr<RenderingBufferInterface> buffer,
                    std::unique_ptr<TextLineEditorInterface> editor);
    ~WindowInterface() override;

    // [editor thread] Invalidate, MouseCapture, MouseRelease, SetTimer,
    // ClearTimer, TextInputRequest, TextInputStop; -1 for anything else and
    // while the window is not open.
    int handle(const MessageInterface& message) final;

    // [editor thread] Opens the native window as a child of parent; on
    // success shows the background tree, then the control tree.
    int open(void* parent);
    // [editor thread]
    virtual void close() = 0;
    // [editor thread] After set_content_size: an open window fitted to its
    // content takes the new size; either way all of it is painted anew.
    virtual void content_size_changed();

    // Driving a window system that has no process-wide message queue (X11):
    // a host waits until event_fd() is readable or the deadline that
    // dispatch_events() gave has passed, then calls dispatch_events() again.
    // [editor thread] The descriptor to wait on; -1 when the window system
    // needs no driving from the host (Win32 runs its own queue, a headless
    // window has none).
    virtual int event_fd() const { return -1; }
    // [editor thread] Handles the events received and the timers due; the
    // milliseconds until the next timer (0: due now), -1 without one.
    virtual int dispatch_events() { return -1; }

    // [editor thread] Not owned; the window becomes the root's parent.
    void set_background_root(SPTreeNodeInterface* root);
    void set_control_root(SPTreeNodeInterface* root);
    SPTreeNodeInterface* background_root() const { return background_root_; }
    SPTreeNodeInterface* control_root() const { return control_root_; }

    // [editor thread]
    void set_content_size(int width, int height);
    void set_window_size(int width, int height);
    void set_fit_window_to_content(bool fit) { fit_ = fit; }
    // [editor thread] The scale the window's content is drawn at (device
    // pixels per logical pixel), chosen by whoever makes the window from
    // what the window system says; 1 unless set. The sizes here, and every
    // coordinate of the messages, are device pixels.
    void set_scale(Scale scale) { scale_ = scale; }
    Scale scale() const { return scale_; }
    // [editor thread] The font a line editor that draws its own text uses
    // (the scene's, at the window's scale); null for none. Not owned.
    void set_text_font(const FontInterface* font) { text_font_ = font; }
    const FontInterface* text_font() const { return text_font_; }
    int content_width() const { return content_width_; }
    int content_height() const { return content_height_; }
    int window_width() const { return window_width_; }
    int window_height() const { return window_height_; }
    bool fit_window_to_content() const { return fit_; }
    // The size the native window opens with: the content's when fitted to
    // it, else the window size.
    int native_width() const { return fit_ ? content_width_ : window_width_; }
    int native_height() const { return fit_ ? content_height_ : window_height_; }

    // [editor thread] rect held to the content area (0, 0) to the content
    // size; empty (x1 == x0 or y1 == y0) when they do not meet.
    Rect clip_to_content(const Rect& rect) const;
    // [editor thread] Paints rect (clipped to the content) tile by tile,
    // column by column: each tile is redrawn by the background root, then
    // the control root, then copied from the buffer to the window.
    void redraw(const Rect& rect);

    // [editor thread] Timer table. add: 0, or -1 when the table is full.
    int add_timer(int id, MessageHandlerInterface* handler);
    // [editor thread] 0, or -1 when id is not in the table.
    int remove_timer(int id);
    // [editor thread] Null when id is not in the table.
    MessageHandlerInterface* find_timer_handler(int id) const;
    // [editor thread] A platform timer ran out: Notify (id, now in seconds)
    // goes to the handler of id, if the table still holds one.
    void fire_timer(int id, double now);

    // [editor thread] Gives the mouse to handler in mode; a previous holder
    // first loses it (and hears MouseCaptureLost). The point is kept only
    // for mode 2. Nothing changes when handler already holds it.
    void set_capture(MessageHandlerInterface* handler, int mode, int x, int y);
    // [editor thread] The holder, if any, loses the mouse and hears
    // MouseCaptureLost.
    void release_capture();
    MessageHandlerInterface* capture_holder() const { return capture_holder_; }
    int capture_mode() const { return capture_mode_; }
    int capture_x() const { return capture_x_; }
    int capture_y() const { return capture_y_; }
    // [editor thread] Whether a capture (modes 1 and 2) hides the cursor now.
    bool cursor_hidden() const { return cursor_hidden_; }

    // Input, in window pixels, as the window system delivers it: to the
    // capture holder if there is one, else to the control root. Under a
    // relative capture (mode 2) the holder hears the movement since the
    // previous point, and a pointer that can reach the screen's edge is put
    // back on the capture point now and then. before_warp: the window
    // system queued the event before the window last moved the pointer, so
    // its movement counts from where the pointer was then.
    // [editor thread]
    void mouse_move(int x, int y, bool before_warp = false);
    // [editor thread] buttons: those held after the event. A press first
    // ends a running text edit, accepted, as the focus leaves it.
    void mouse_button(int x, int y, int buttons, int modifiers = 0, int double_click = 0,
                      bool before_warp = false);
    // [editor thread] The window system took the mouse away (or it was
    // given back): the cursor shows again and the holder hears
    // MouseCaptureLost.
    void capture_changed();

    // [editor thread] Sends the editor's text and accepted flag to the
    // requester (when a control tree exists).
    void finish_text_input();

    RenderingBufferInterface& rendering_buffer() { return *buffer_; }
    TextLineEditorInterface& text_editor() { return *editor_; }

protected:
    // The window-system calls the dispatch makes; a back end gives them.
    // [editor thread] Creates the native window. 0, or -1.
    virtual int open_native(void* parent) = 0;
    // [editor thread] Whether the native window exists: messages before it get -1.
    virtual bool is_open() const = 0;
    // [editor thread] Adds area (within the window) to the region the next
    // paint covers.
    virtual void invalidate_native(const Rect& area) = 0;
    // [editor thread] Gives the open native window the size width x height.
    virtual void resize_native(int width, int height) = 0;
    // [editor thread] Sends every pointer event to this window; 0, or -1
    // when refused.
    virtual int grab_mouse() = 0;
    // [editor thread]
    virtual void ungrab_mouse() = 0;
    // [editor thread] true when the cursor is hidden now.
    virtual bool hide_cursor() = 0;
    // [editor thread]
    virtual void show_cursor() = 0;
    // [editor thread] Puts the pointer at window point (x, y).
    virtual void warp_pointer(int x, int y) = 0;
    // [editor thread] Whether a relative capture puts the pointer back on the
    // capture point while it moves (a real pointer would stop at the
    // screen's edge).
    virtual bool recentres_pointer() const { return true; }
    // [editor thread] Arms a platform timer whose ticks end in
    // fire_timer(id, ...); 0, or -1.
    virtual int start_timer(int id, int period_ms) = 0;
    // [editor thread] Kills the platform timer of id; 0, or -1 when the
    // system refuses.
    virtual int stop_timer(int id) = 0;
    // [editor thread] Fills a window area outside the content with the
    // button face.
    virtual void fill_margin(const Rect& area) = 0;

    // [editor thread] Paints area as redraw does, then the margins of a
    // window larger than its content, below and to the right.
    void paint_region(const Rect& area);

private:
    struct Timer {
        int id;
        MessageHandlerInterface* handler;
    };

    // Where id is or would go in the sorted table.
    int slot_of(int id) const;
    int capture_mouse(const MouseCapture& message);
    int release_mouse(const MouseRelease& message);
    int arm_timer(const SetTimer& message);
    int clear_timer(int id);
    // The running edit ends as if it lost the focus (accepted), then the
    // editor starts for request. The editor's result.
    int start_text_input(const TextInputRequest& request);
    MessageHandlerInterface* input_target() const;
    // The position an input event reports: the point, or under a relative
    // capture the movement since the previous one.
    void report_position(int x, int y, bool before_warp, int& px, int& py);

    bool fit_ = false;
    Scale scale_;
    const FontInterface* text_font_ = nullptr;
    int content_width_;
    int content_height_;
    int window_width_;
    int window_height_;
    SPTreeNodeInterface* background_root_ = nullptr;
    SPTreeNodeInterface* control_root_ = nullptr;
    std::array<Timer, max_timers> timers_{}; // sorted by id
    int timer_count_ = 0;
    MessageHandlerInterface* capture_holder_ = nullptr;
    int capture_mode_ = 0;
    int capture_x_ = 0;
    int capture_y_ = 0;
    bool cursor_hidden_ = false;
    long long capture_ms_ = 0;
    long long warp_ms_ = 0;
    // The last reported pointer point; under a relative capture also the
    // point before the last warp, for the events queued before it.
    int last_x_ = 0;
    int last_y_ = 0;
    int stale_x_ = 0;
    int stale_y_ = 0;
    std::unique_ptr<RenderingBufferInterface> buffer_;
    std::unique_ptr<TextLineEditorInterface> editor_;
};

} // namespace pengui
