#include "pengui/WindowInterface.h"

#include "pengui/Messages.h"
#include "pengui/RenderingBufferInterface.h"
#include "pengui/SPTreeNodeInterface.h"
#include "pengui/TextLineEditorInterface.h"

#include <algorithm>

namespace pengui {

WindowInterface::WindowInterface(int width, int height,
                                 std::unique_ptr<RenderingBufferInterface> buffer,
                                 std::unique_ptr<TextLineEditorInterface> editor)
    : content_width_(width), content_height_(height), window_width_(width), window_height_(height),
      buffer_(std::move(buffer)), editor_(std::move(editor)) {
    editor_->set_window(this);
}

WindowInterface::~WindowInterface() = default;

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

void WindowInterface::finish_text_input() {
    if (control_root_ != nullptr && editor_->requester() != nullptr) {
        editor_->requester()->handle(TextInputFinished(editor_->text(), editor_->accepted()));
    }
}

int WindowInterface::start_text_input(const TextInputRequest& request) {
    if (editor_->active()) {
        editor_->set_accepted(true);
        editor_->stop();
        finish_text_input();
    }
    editor_->set_text(request.text);
    editor_->set_requester(request.requester);
    return editor_->start(request);
}

int WindowInterface::stop_text_input() {
    if (!editor_->active()) {
        return -1;
    }
    editor_->set_accepted(false);
    const int result = editor_->stop();
    finish_text_input();
    return result;
}

} // namespace pengui
