#include "pengui/x11/WindowX11.h"
#include "pengui/x11/XlibFunctions.h"

#include "pengui/Messages.h"
#include "pengui/SPTreeNodeInterface.h"
#include "pengui/x11/ErrorTrapX11.h"
#include "pengui/x11/EventLoopX11.h"
#include "pengui/x11/RenderingBufferX11.h"
#include "pengui/x11/TextLineEditorX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pengui {

namespace {
// Under a relative capture the cursor goes back to the capture point at most
// this often, and not before the capture has lasted the second figure (a
// quick click leaves the cursor where it is).
constexpr long long warp_interval_ms = 100;
constexpr long long warp_delay_ms = 250;
// The shortest timer period, as Win32 arms it.
constexpr int min_period_ms = 10;

constexpr char title[] = "Vantrel Audio Plug-in";
} // namespace

WindowX11::WindowX11(EventLoopX11& loop, int width, int height)
    : WindowInterface(width, height, std::make_unique<RenderingBufferX11>(loop),
                      std::make_unique<TextLineEditorX11>(loop)),
      loop_(loop) {}

WindowX11::~WindowX11() {
    loop_.remove_timers(this);
    close();
}

std::unique_ptr<WindowX11> WindowX11::create(int width, int height) {
    EventLoopX11* loop = EventLoopX11::shared();
    return loop != nullptr ? std::make_unique<WindowX11>(*loop, width, height) : nullptr;
}

const char* WindowX11::class_name() {
    // Two copies of the module never share a class: the address differs.
    static char name[32] = {};
    if (name[0] == '\0') {
        std::snprintf(name, sizeof name, "VantrelAudioPlugin%08X",
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&class_name)));
    }
    return name;
}

int WindowX11::open_native(void* parent) {
    if (native_ != 0) {
        return 0;
    }
    const auto parent_id = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    const int width = fit_window_to_content() ? content_width() : window_width();
    const int height = fit_window_to_content() ? content_height() : window_height();
    if (parent_id == 0 || width <= 0 || height <= 0) {
        return -1;
    }
    Display* display = loop_.display();
    ErrorTrapX11 trap(display);
    XSetWindowAttributes attributes{};
    // No background: the window never erases what the tile loop paints.
    attributes.background_pixmap = None;
    attributes.bit_gravity = NorthWestGravity;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | StructureNotifyMask;
    const Window window = xlib().XCreateWindow(
        display, parent_id, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
        CopyFromParent, InputOutput, CopyFromParent, CWBackPixmap | CWBitGravity | CWEventMask,
        &attributes);
    if (trap.sync() != 0) {
        return -1; // no such parent: nothing was made
    }
    xlib().XStoreName(display, window, title);
    XClassHint hint;
    hint.res_name = const_cast<char*>(class_name());
    hint.res_class = const_cast<char*>(class_name());
    xlib().XSetClassHint(display, window, &hint);
    XGCValues values{};
    values.graphics_exposures = False;
    gc_ = xlib().XCreateGC(display, window, GCGraphicsExposures, &values);
    if (static_cast<RenderingBufferX11&>(rendering_buffer()).attach(window, gc_) != 0) {
        xlib().XFreeGC(display, gc_);
        gc_ = nullptr;
        xlib().XDestroyWindow(display, window);
        return -1;
    }
    native_ = window;
    loop_.add_target(native_, this);
    xlib().XMapWindow(display, native_);
    xlib().XFlush(display);
    return 0;
}

void WindowX11::close() {
    if (native_ == 0) {
        return;
    }
    const Window window = native_;
    forget_native();
    xlib().XDestroyWindow(loop_.display(), window);
    xlib().XFlush(loop_.display());
}

void WindowX11::forget_native() {
    text_editor().stop();
    show_cursor();
    if (grabbed_) {
        grabbed_ = false;
        xlib().XUngrabPointer(loop_.display(), CurrentTime);
    }
    release_capture();
    static_cast<RenderingBufferX11&>(rendering_buffer()).detach();
    loop_.remove_target(native_);
    xlib().XFreeGC(loop_.display(), gc_);
    gc_ = nullptr;
    native_ = 0;
    dirty_ = Rect{};
}

void WindowX11::content_size_changed() {
    if (native_ == 0) {
        return;
    }
    if (fit_window_to_content()) {
        xlib().XMoveResizeWindow(loop_.display(), native_, 0, 0,
                                 static_cast<unsigned>(std::max(content_width(), 1)),
                                 static_cast<unsigned>(std::max(content_height(), 1)));
        add_dirty(Rect{0, 0, content_width(), content_height()});
    } else {
        add_dirty(Rect{0, 0, window_width(), window_height()});
    }
}

int WindowX11::event_fd() const {
    return loop_.fd();
}

int WindowX11::dispatch_events() {
    loop_.dispatch();
    return loop_.next_deadline_ms();
}

int WindowX11::handle(const MessageInterface& message) {
    if (native_ == 0) {
        return -1;
    }
    if (const auto* invalidate = dynamic_cast<const Invalidate*>(&message)) {
        add_dirty(clip_to_content(invalidate->rect));
        return 0;
    }
    if (const auto* capture = dynamic_cast<const MouseCapture*>(&message)) {
        return capture_mouse(*capture);
    }
    if (const auto* release = dynamic_cast<const MouseRelease*>(&message)) {
        return release_mouse(*release);
    }
    if (const auto* set = dynamic_cast<const SetTimer*>(&message)) {
        return arm_timer(*set);
    }
    if (const auto* clear = dynamic_cast<const ClearTimer*>(&message)) {
        return clear_timer(clear->id);
    }
    if (const auto* request = dynamic_cast<const TextInputRequest*>(&message)) {
        return start_text_input(*request);
    }
    if (dynamic_cast<const TextInputStop*>(&message) != nullptr) {
        return stop_text_input();
    }
    return -1;
}

void WindowX11::add_dirty(const Rect& rect) {
    dirty_ = bounding_union(dirty_, rect);
}

void WindowX11::end_of_round() {
    if (native_ != 0 && dirty_.x0 < dirty_.x1) {
        const Rect area = dirty_;
        dirty_ = Rect{};
        paint(area);
    }
}

void WindowX11::paint(const Rect& area) {
    redraw(area);
    // Outside the content: the button face, below and to the right.
    const int cw = content_width();
    const int ch = content_height();
    const int ww = window_width();
    const int wh = window_height();
    Display* display = loop_.display();
    xlib().XSetForeground(display, gc_, margin_colour);
    if (wh > ch && ww > 0) {
        xlib().XFillRectangle(display, native_, gc_, 0, ch, static_cast<unsigned>(ww),
                              static_cast<unsigned>(wh - ch));
    }
    if (ww > cw && ch > 0) {
        xlib().XFillRectangle(display, native_, gc_, cw, 0, static_cast<unsigned>(ww - cw),
                              static_cast<unsigned>(ch));
    }
}

MessageHandlerInterface* WindowX11::input_target() {
    if (capture_holder() != nullptr) {
        return capture_holder();
    }
    return control_root();
}

void WindowX11::report_position(int x, int y, unsigned long serial, int& px, int& py) {
    if (capture_holder() == nullptr || capture_mode() != 2) {
        last_x_ = px = x;
        last_y_ = py = y;
        return;
    }
    // Motions the server sent before the last warp count from where the
    // cursor was then.
    if (serial < warp_serial_) {
        px = x - stale_x_;
        py = y - stale_y_;
        stale_x_ = x;
        stale_y_ = y;
        return;
    }
    px = x - last_x_;
    py = y - last_y_;
    last_x_ = x;
    last_y_ = y;
    const long long now = EventLoopX11::now_ms();
    if (now - warp_ms_ >= warp_interval_ms && now - capture_ms_ >= warp_delay_ms &&
        (x != capture_x() || y != capture_y())) {
        Display* display = loop_.display();
        stale_x_ = x;
        stale_y_ = y;
        warp_serial_ = NextRequest(display);
        xlib().XWarpPointer(display, None, native_, 0, 0, 0, 0, capture_x(), capture_y());
        last_x_ = capture_x();
        last_y_ = capture_y();
        warp_ms_ = now;
    }
}

void WindowX11::button(const _XEvent& event, bool press) {
    const XButtonEvent& b = event.xbutton;
    const int bit = b.button == Button1   ? MouseClick::left
                    : b.button == Button2 ? MouseClick::middle
                    : b.button == Button3 ? MouseClick::right
                                          : 0;
    if (bit == 0) {
        return; // wheel and extra buttons
    }
    int held = ((b.state & Button1Mask) != 0 ? MouseClick::left : 0) |
               ((b.state & Button2Mask) != 0 ? MouseClick::middle : 0) |
               ((b.state & Button3Mask) != 0 ? MouseClick::right : 0);
    held = press ? held | bit : held & ~bit;
    const int modifiers = ((b.state & ControlMask) != 0 ? MouseClick::control_key : 0) |
                          ((b.state & ShiftMask) != 0 ? MouseClick::shift_key : 0);
    int double_click = 0;
    if (press) {
        // A press in the window takes the focus from a running edit.
        static_cast<TextLineEditorX11&>(text_editor()).finish(true);
        if (bit == press_button_ && b.time - press_time_ <= double_click_ms &&
            std::abs(b.x - press_x_) <= double_click_distance &&
            std::abs(b.y - press_y_) <= double_click_distance) {
            double_click = bit;
            press_button_ = 0; // a third press starts again
        } else {
            press_button_ = bit;
            press_time_ = b.time;
            press_x_ = b.x;
            press_y_ = b.y;
        }
    }
    MessageHandlerInterface* target = input_target();
    int px = 0;
    int py = 0;
    report_position(b.x, b.y, b.serial, px, py);
    if (target != nullptr) {
        target->handle(MouseClick(px, py, held, modifiers, double_click));
    }
}

void WindowX11::handle_event(const _XEvent& event) {
    switch (event.type) {
    case Expose:
        add_dirty(clamped_rect(event.xexpose.x, event.xexpose.y,
                               std::int64_t{event.xexpose.x} + event.xexpose.width,
                               std::int64_t{event.xexpose.y} + event.xexpose.height));
        break;
    case MotionNotify: {
        MessageHandlerInterface* target = input_target();
        int px = 0;
        int py = 0;
        report_position(event.xmotion.x, event.xmotion.y, event.xmotion.serial, px, py);
        if (target != nullptr) {
            target->handle(MouseMove(px, py));
        }
        break;
    }
    case ButtonPress:
        button(event, true);
        break;
    case ButtonRelease:
        button(event, false);
        break;
    case EnterNotify:
    case LeaveNotify:
    case UnmapNotify:
        // The server ends a grab when the window stops being viewable (the
        // host hid it, or its window); the pointer leaves it then.
        if (grabbed_ &&
            (!viewable() || (event.type != UnmapNotify && event.xcrossing.mode == NotifyUngrab &&
                             event.xcrossing.serial >= grab_serial_))) {
            grabbed_ = false;
            capture_changed();
        }
        break;
    case DestroyNotify:
        // The host destroyed its window, and ours with it.
        if (event.xdestroywindow.window == native_) {
            forget_native();
        }
        break;
    default:
        break;
    }
}

int WindowX11::capture_mouse(const MouseCapture& message) {
    Display* display = loop_.display();
    if (!grabbed_) {
        grab_serial_ = NextRequest(display);
        const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
        if (xlib().XGrabPointer(display, native_, False, mask, GrabModeAsync, GrabModeAsync, None,
                                None, CurrentTime) != GrabSuccess) {
            return -1;
        }
        grabbed_ = true;
    }
    if (message.mode == 1 || message.mode == 2) {
        if (!cursor_hidden_ && loop_.has_xfixes()) {
            xlib().XFixesHideCursor(display, DefaultRootWindow(display));
            cursor_hidden_ = true;
        }
        capture_ms_ = warp_ms_ = EventLoopX11::now_ms();
    }
    // The capture point is where the pointer was at the last event the
    // window reported (the press that asks for the capture), so that the
    // motions still queued count from there.
    warp_serial_ = 0;
    stale_x_ = last_x_;
    stale_y_ = last_y_;
    set_capture(message.handler, message.mode, last_x_, last_y_);
    return 0;
}

int WindowX11::release_mouse(const MouseRelease& message) {
    // Only the holder gives the mouse back.
    if (message.handler != capture_holder()) {
        return 0;
    }
    Display* display = loop_.display();
    if (capture_mode() == 2 && EventLoopX11::now_ms() - capture_ms_ >= warp_delay_ms) {
        xlib().XWarpPointer(display, None, native_, 0, 0, 0, 0, message.x, message.y);
        last_x_ = message.x;
        last_y_ = message.y;
    }
    if (grabbed_) {
        grabbed_ = false;
        xlib().XUngrabPointer(display, CurrentTime);
    }
    capture_changed();
    xlib().XFlush(display);
    return 0;
}

bool WindowX11::viewable() const {
    XWindowAttributes attributes;
    return xlib().XGetWindowAttributes(loop_.display(), native_, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

void WindowX11::capture_changed() {
    show_cursor();
    release_capture();
}

void WindowX11::show_cursor() {
    if (cursor_hidden_) {
        cursor_hidden_ = false;
        xlib().XFixesShowCursor(loop_.display(), DefaultRootWindow(loop_.display()));
    }
}

int WindowX11::arm_timer(const SetTimer& message) {
    const int period_ms =
        std::max(min_period_ms, static_cast<int>(std::lround(message.period * 1000.0)));
    if (add_timer(message.id, message.handler) != 0) {
        return -1;
    }
    loop_.add_timer(this, message.id, period_ms);
    return 0;
}

int WindowX11::clear_timer(int id) {
    if (!loop_.remove_timer(id)) {
        return 0; // never armed
    }
    return remove_timer(id);
}

} // namespace pengui
