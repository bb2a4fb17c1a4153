#pragma once

#include "pengui/MessageHandlerInterface.h"
#include "pengui/Rect.h"
#include "pengui/Scale.h"

#include <array>
#include <cstdint>
#include <memory>

namespace pengui {

class FontInterface;
class RenderingBufferInterface;
class SPTreeNodeInterface;
class TextInputRequest;
class TextLineEditorInterface;

// The platform-neutral root of the toolkit: it holds the two tree roots, the
// table of running timers, the mouse capture and the painting loop, and owns
// the rendering buffer and the text line editor. A platform class opens the
// native window and turns up-going messages into window-system calls.
//
// Everything runs on the thread that owns the window.
class WindowInterface : public MessageHandlerInterface {
public:
    // At most this many timers run at once per window: the table is fixed,
    // so that arming a timer allocates nothing.
    static constexpr int max_timers = 64;

    // [editor thread] Both sizes start as (width, height).
    WindowInterface(int width, int height, std::unique_ptr<RenderingBufferInterface> buffer,
                    std::unique_ptr<TextLineEditorInterface> editor);
    ~WindowInterface() override;

    // [editor thread] Opens the native window as a child of parent; on
    // success shows the background tree, then the control tree.
    int open(void* parent);
    // [editor thread]
    virtual void close() = 0;
    // [editor thread] After set_content_size; nothing by default.
    virtual void content_size_changed() {}

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

    // [editor thread] Sends the editor's text and accepted flag to the
    // requester (when a control tree exists).
    void finish_text_input();

    RenderingBufferInterface& rendering_buffer() { return *buffer_; }
    TextLineEditorInterface& text_editor() { return *editor_; }

protected:
    // [editor thread] Creates the native window. 0, or -1.
    virtual int open_native(void* parent) = 0;
    // [editor thread] Starts the line editor for request; a running edit
    // first ends as if it lost the focus (accepted). The editor's result.
    int start_text_input(const TextInputRequest& request);
    // [editor thread] Ends the running edit unaccepted: a box that hides or
    // cancels its edit keeps its old text. The stop result, or -1 when no
    // edit runs.
    int stop_text_input();

private:
    struct Timer {
        int id;
        MessageHandlerInterface* handler;
    };

    // Where id is or would go in the sorted table.
    int slot_of(int id) const;

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
    std::unique_ptr<RenderingBufferInterface> buffer_;
    std::unique_ptr<TextLineEditorInterface> editor_;
};

} // namespace pengui
