#include "pengui/WindowInterface.h"

#include "pengui/Messages.h"
#include "pengui/RenderingBufferInterface.h"
#include "pengui/SPTreeNodeInterface.h"
#include "pengui/TextLineEditorInterface.h"
#include "pengui/ToolkitClock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pengui {

namespace {
// Under a relative capture the pointer goes back to the capture point at
// most this often, and not before the capture has lasted the second figure;
// a release puts it back only after that figure too (a quick click leaves the
// cursor where it is).
constexpr long long warp_interval_ms = 100;
constexpr long long warp_delay_ms = 250;
} // namespace

WindowInterface::WindowInterface(int width, int height,
                                 std::unique_ptr<RenderingBufferInterface> buffer,
                                 std::unique_ptr<TextLineEditorInterface> editor)
    : content_width_(width), content_height_(height), window_width_(width), window_height_(height),
      buffer_(std::move(buffer)), editor_(std::move(editor)) {
    editor_->set_window(this);
}

WindowInterface::~WindowInterface() = default;

const char* WindowInterface::class_name() {
    static char name[32] = {};
    if (name[0] == '\0') {
        std::snprintf(name, sizeof name, "VantrelAudioPlugin%08X",
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&class_name)));
    }
    return name;
}

int WindowInterface::handle(const MessageInterface& message) {
    if (!is_open()) {
        return -1;
    }
    if (const auto* invalidate = dynamic_cast<const Invalidate*>(&message)) {
        invalidate_native(clip_to_content(invalidate->rect));
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
        // A box that hides or cancels its edit keeps its old text.
        return editor_->end(false);
    }
    return -1;
}

int WindowInterface::open(void* parent) {
    const int result = open_native(parent);
    if (result == 0) {
        const ShowObject show(true);
        if (background_root_ != nullptr) {
            background_root_->handle(show);
        }
        if (control_root_ != nullptr) {
            control_root_->handle(show);
        }
    }
    return result;
}

void WindowInterface::set_background_root(SPTreeNodeInterface* root) {
    background_root_ = root;
    if (root != nullptr) {
        root->set_parent(this);
    }
}

void WindowInterface::set_control_root(SPTreeNodeInterface* root) {
    control_root_ = root;
    if (root != nullptr) {
        root->set_parent(this);
    }
}

void WindowInterface::set_content_size(int width, int height) {
    content_width_ = width;
    content_height_ = height;
    content_size_changed();
}

void WindowInterface::content_size_changed() {
    if (!is_open()) {
        return;
    }
    if (fit_) {
        resize_native(std::max(content_width_, 1), std::max(content_height_, 1));
    }
    invalidate_native(Rect{0, 0, native_width(), native_height()});
}

void WindowInterface::set_window_size(int width, int height) {
    window_width_ = width;
    window_height_ = height;
}

Rect WindowInterface::clip_to_content(const Rect& rect) const {
    // An empty result keeps x1 >= x0 and y1 >= y0, so its size never overflows.
    const int x0 = std::max(rect.x0, 0);
    const int y0 = std::max(rect.y0, 0);
    return Rect{x0, y0, std::max(std::min(rect.x1, content_width_), x0),
                std::max(std::min(rect.y1, content_height_), y0)};
}

void WindowInterface::redraw(const Rect& rect) {
    const Rect clipped = clip_to_content(rect);
    const int x0 = clipped.x0;
    const int y0 = clipped.y0;
    const int x1 = clipped.x1;
    const int y1 = clipped.y1;
    const int bw = buffer_->width();
    const int bh = buffer_->height();
    if (bw <= 0 || bh <= 0) {
        return;
    }
    // 64-bit steps: a tile never wraps past the int range.
    for (std::int64_t x = x0; x < x1; x += bw) {
        for (std::int64_t y = y0; y < y1; y += bh) {
            const Rect tile = clamped_rect(x, y, std::min<std::int64_t>(x + bw, x1),
                                           std::min<std::int64_t>(y + bh, y1));
            const Redraw message(*buffer_, tile);
            if (background_root_ != nullptr) {
                background_root_->handle(message);
            }
            if (control_root_ != nullptr) {
                control_root_->handle(message);
            }
            buffer_->copy_block(tile.x0, tile.y0, tile.x1 - tile.x0, tile.y1 - tile.y0);
        }
    }
}

void WindowInterface::paint_region(const Rect& area) {
    redraw(area);
    if (window_height_ > content_height_ && window_width_ > 0) {
        fill_margin(Rect{0, content_height_, window_width_, window_height_});
    }
    if (window_width_ > content_width_ && content_height_ > 0) {
        fill_margin(Rect{content_width_, 0, window_width_, content_height_});
    }
}

int WindowInterface::slot_of(int id) const {
    const Timer* end = timers_.data() + timer_count_;
    return static_cast<int>(
        std::lower_bound(timers_.data(), end, id, [](const Timer& t, int v) { return t.id < v; }) -
        timers_.data());
}

int WindowInterface::add_timer(int id, MessageHandlerInterface* handler) {
    Timer* end = timers_.data() + timer_count_;
    Timer* at = timers_.data() + slot_of(id);
    if (at != end && at->id == id) {
        at->handler = handler;
        return 0;
    }
    if (timer_count_ == max_timers) {
        return -1;
    }
    std::move_backward(at, end, end + 1);
    *at = Timer{id, handler};
    ++timer_count_;
    return 0;
}

int WindowInterface::remove_timer(int id) {
    Timer* end = timers_.data() + timer_count_;
    Timer* at = timers_.data() + slot_of(id);
    if (at == end || at->id != id) {
        return -1;
    }
    std::move(at + 1, end, at);
    --timer_count_;
    return 0;
}

MessageHandlerInterface* WindowInterface::find_timer_handler(int id) const {
    const Timer* end = timers_.data() + timer_count_;
    const Timer* at = timers_.data() + slot_of(id);
    return at != end && at->id == id ? at->handler : nullptr;
}

void WindowInterface::fire_timer(int id, double now) {
    if (MessageHandlerInterface* handler = find_timer_handler(id)) {
        handler->handle(Notify(id, now));
    }
}

int WindowInterface::arm_timer(const SetTimer& message) {
    if (add_timer(message.id, message.handler) != 0) {
        return -1;
    }
    if (start_timer(message.id, static_cast<int>(std::lround(message.period * 1000.0))) != 0) {
        remove_timer(message.id);
        return -1;
    }
    return 0;
}

int WindowInterface::clear_timer(int id) {
    // The table and the platform's timers go together: an id not in the
    // table was never armed.
    if (remove_timer(id) != 0) {
        return 0;
    }
    return stop_timer(id);
}

void WindowInterface::set_capture(MessageHandlerInterface* handler, int mode, int x, int y) {
    if (handler == capture_holder_) {
        return;
    }
    release_capture();
    capture_holder_ = handler;
    capture_mode_ = mode;
    capture_x_ = mode == 2 ? x : 0;
    capture_y_ = mode == 2 ? y : 0;
}

void WindowInterface::release_capture() {
    MessageHandlerInterface* previous = capture_holder_;
    capture_holder_ = nullptr;
    if (previous != nullptr) {
        previous->handle(MouseCaptureLost());
    }
}

int WindowInterface::capture_mouse(const MouseCapture& message) {
    if (grab_mouse() != 0) {
        return -1;
    }
    if (message.mode == 1 || message.mode == 2) {
        if (!cursor_hidden_) {
            cursor_hidden_ = hide_cursor();
        }
        capture_ms_ = warp_ms_ = ToolkitClock::milliseconds();
    }
    // The capture point is where the pointer was at the last event the
    // window reported (the press that asks for the capture), so that the
    // events still queued count from there.
    stale_x_ = last_x_;
    stale_y_ = last_y_;
    set_capture(message.handler, message.mode, last_x_, last_y_);
    return 0;
}

int WindowInterface::release_mouse(const MouseRelease& message) {
    // Only the holder gives the mouse back.
    if (message.handler != capture_holder_) {
        return 0;
    }
    if (capture_mode_ == 2 && ToolkitClock::milliseconds() - capture_ms_ >= warp_delay_ms) {
        warp_pointer(message.x, message.y);
        last_x_ = message.x;
        last_y_ = message.y;
    }
    ungrab_mouse();
    capture_changed();
    return 0;
}

void WindowInterface::capture_changed() {
    if (cursor_hidden_) {
        cursor_hidden_ = false;
        show_cursor();
    }
    release_capture();
}

MessageHandlerInterface* WindowInterface::input_target() const {
    return capture_holder_ != nullptr ? capture_holder_ : control_root_;
}

void WindowInterface::report_position(int x, int y, bool before_warp, int& px, int& py) {
    if (capture_holder_ == nullptr || capture_mode_ != 2) {
        last_x_ = px = x;
        last_y_ = py = y;
        return;
    }
    if (before_warp) {
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
    const long long now = ToolkitClock::milliseconds();
    if (recentres_pointer() && now - warp_ms_ >= warp_interval_ms &&
        now - capture_ms_ >= warp_delay_ms && (x != capture_x_ || y != capture_y_)) {
        stale_x_ = x;
        stale_y_ = y;
        warp_pointer(capture_x_, capture_y_);
        last_x_ = capture_x_;
        last_y_ = capture_y_;
        warp_ms_ = now;
    }
}

void WindowInterface::mouse_move(int x, int y, bool before_warp) {
    MessageHandlerInterface* target = input_target();
    int px = 0;
    int py = 0;
    report_position(x, y, before_warp, px, py);
    if (target != nullptr) {
        target->handle(MouseMove(px, py));
    }
}

void WindowInterface::mouse_button(int x, int y, int buttons, int modifiers, int double_click,
                                   bool before_warp) {
    if (buttons != 0) {
        editor_->end(true);
    }
    MessageHandlerInterface* target = input_target();
    int px = 0;
    int py = 0;
    report_position(x, y, before_warp, px, py);
    if (target != nullptr) {
        target->handle(MouseClick(px, py, buttons, modifiers, double_click));
    }
}

void WindowInterface::finish_text_input() {
    if (control_root_ != nullptr && editor_->requester() != nullptr) {
        editor_->requester()->handle(TextInputFinished(editor_->text(), editor_->accepted()));
    }
}

int WindowInterface::start_text_input(const TextInputRequest& request) {
    editor_->end(true);
    editor_->set_text(request.text);
    editor_->set_requester(request.requester);
    return editor_->start(request);
}

} // namespace pengui
