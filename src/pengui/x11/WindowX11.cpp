#include "pengui/x11/WindowX11.h"
#include "pengui/x11/XlibFunctions.h"

#include "pengui/Messages.h"
#include "pengui/x11/ErrorTrapX11.h"
#include "pengui/x11/EventLoopX11.h"
#include "pengui/x11/RenderingBufferX11.h"
#include "pengui/x11/TextLineEditorX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdlib>

namespace pengui {

namespace {
// The shortest timer period, as Win32 arms it.
constexpr int min_period_ms = 10;
} // namespace

WindowX11::WindowX11(EventLoopX11& loop, int width, int height)
    : WindowInterface(width, height, std::make_unique<RenderingBufferX11>(loop),
                      std::make_unique<TextLineEditorX11>(loop)),
      loop_(loop) {}

WindowX11::~WindowX11() {
    loop_.timers().remove_window(this);
    close();
}

std::unique_ptr<WindowX11> WindowX11::create(int width, int height) {
    EventLoopX11* loop = EventLoopX11::shared();
    return loop != nullptr ? std::make_unique<WindowX11>(*loop, width, height) : nullptr;
}

int WindowX11::open_native(void* parent) {
    if (native_ != 0) {
        return 0;
    }
    const auto parent_id = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    const int width = native_width();
    const int height = native_height();
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
    ungrab_mouse();
    capture_changed();
    static_cast<RenderingBufferX11&>(rendering_buffer()).detach();
    loop_.remove_target(native_);
    xlib().XFreeGC(loop_.display(), gc_);
    gc_ = nullptr;
    native_ = 0;
    dirty_ = Rect{};
}

void WindowX11::resize_native(int width, int height) {
    xlib().XMoveResizeWindow(loop_.display(), native_, 0, 0, static_cast<unsigned>(width),
                             static_cast<unsigned>(height));
}

int WindowX11::event_fd() const {
    return loop_.fd();
}

int WindowX11::dispatch_events() {
    loop_.dispatch();
    return loop_.next_deadline_ms();
}

void WindowX11::invalidate_native(const Rect& area) {
    dirty_ = bounding_union(dirty_, area);
}

void WindowX11::end_of_round() {
    if (native_ != 0 && dirty_.x0 < dirty_.x1) {
        const Rect area = dirty_;
        dirty_ = Rect{};
        paint_region(area);
    }
}

void WindowX11::fill_margin(const Rect& area) {
    Display* display = loop_.display();
    xlib().XSetForeground(display, gc_, margin_colour);
    xlib().XFillRectangle(display, native_, gc_, area.x0, area.y0,
                          static_cast<unsigned>(area.x1 - area.x0),
                          static_cast<unsigned>(area.y1 - area.y0));
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
    mouse_button(b.x, b.y, held, modifiers, double_click, before_warp(b.serial));
}

void WindowX11::handle_event(const _XEvent& event) {
    switch (event.type) {
    case Expose:
        invalidate_native(clamped_rect(event.xexpose.x, event.xexpose.y,
                                       std::int64_t{event.xexpose.x} + event.xexpose.width,
                                       std::int64_t{event.xexpose.y} + event.xexpose.height));
        break;
    case MotionNotify:
        mouse_move(event.xmotion.x, event.xmotion.y, before_warp(event.xmotion.serial));
        break;
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

int WindowX11::grab_mouse() {
    // Events sent before a new capture count from its point, not from a
    // warp of an earlier one.
    warp_serial_ = 0;
    if (grabbed_) {
        return 0;
    }
    Display* display = loop_.display();
    grab_serial_ = NextRequest(display);
    const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    if (xlib().XGrabPointer(display, native_, False, mask, GrabModeAsync, GrabModeAsync, None, None,
                            CurrentTime) != GrabSuccess) {
        return -1;
    }
    grabbed_ = true;
    return 0;
}

void WindowX11::ungrab_mouse() {
    if (grabbed_) {
        grabbed_ = false;
        xlib().XUngrabPointer(loop_.display(), CurrentTime);
        xlib().XFlush(loop_.display());
    }
}

bool WindowX11::hide_cursor() {
    if (!loop_.has_xfixes()) {
        return false;
    }
    xlib().XFixesHideCursor(loop_.display(), DefaultRootWindow(loop_.display()));
    return true;
}

void WindowX11::show_cursor() {
    xlib().XFixesShowCursor(loop_.display(), DefaultRootWindow(loop_.display()));
    xlib().XFlush(loop_.display());
}

void WindowX11::warp_pointer(int x, int y) {
    Display* display = loop_.display();
    warp_serial_ = NextRequest(display);
    xlib().XWarpPointer(display, None, native_, 0, 0, 0, 0, x, y);
    xlib().XFlush(display);
}

bool WindowX11::viewable() const {
    XWindowAttributes attributes;
    return xlib().XGetWindowAttributes(loop_.display(), native_, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

int WindowX11::start_timer(int id, int period_ms) {
    loop_.timers().add(this, id, std::max(min_period_ms, period_ms));
    return 0;
}

int WindowX11::stop_timer(int id) {
    loop_.timers().remove(id);
    return 0;
}

} // namespace pengui
