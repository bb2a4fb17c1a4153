#include "pengui/HeadlessWindow.h"

#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/Messages.h"
#include "pengui/SPTreeNodeInterface.h"
#include "pengui/ScriptedTextLineEditor.h"

#include <algorithm>
#include <cmath>

namespace pengui {

namespace {
// After a relative capture the cursor goes back only when the capture lasted
// at least this long (a quick click leaves it where it is).
constexpr double warp_delay = 0.25;
} // namespace

HeadlessWindow::HeadlessWindow(int width, int height)
    : WindowInterface(width, height, std::make_unique<MemoryRenderingBuffer>(),
                      std::make_unique<ScriptedTextLineEditor>()),
      memory_(static_cast<MemoryRenderingBuffer*>(&rendering_buffer())),
      screen_(0, 0, width, height) {
    memory_->set_target(&screen_);
}

HeadlessWindow::~HeadlessWindow() = default;

ScriptedTextLineEditor& HeadlessWindow::editor() {
    return static_cast<ScriptedTextLineEditor&>(text_editor());
}

int HeadlessWindow::open_native(void* parent) {
    // Nothing of a window system is here to show it inside a native parent.
    if (parent != nullptr) {
        return -1;
    }
    open_ = true;
    return 0;
}

void HeadlessWindow::close() {}

void HeadlessWindow::content_size_changed() {
    screen_ = PixelImage(0, 0, content_width(), content_height());
    memory_->set_target(&screen_);
}

int HeadlessWindow::handle(const MessageInterface& message) {
    if (!open_) {
        return -1;
    }
    if (const auto* inv = dynamic_cast<const Invalidate*>(&message)) {
        dirty_ = bounding_union(dirty_, clip_to_content(inv->rect));
        return 0;
    }
    if (const auto* capture = dynamic_cast<const MouseCapture*>(&message)) {
        ++capture_requests_;
        if (refuse_capture_) {
            return -1;
        }
        if (capture->mode == 1 || capture->mode == 2) {
            cursor_hidden_ = true;
            capture_time_ = ToolkitClock::now();
        }
        set_capture(capture->handler, capture->mode, last_x_, last_y_);
        return 0;
    }
    if (const auto* release = dynamic_cast<const MouseRelease*>(&message)) {
        // Only the holder gives the mouse back.
        if (release->handler != capture_holder()) {
            return 0;
        }
        if (capture_mode() == 2 && ToolkitClock::now() - capture_time_ >= warp_delay) {
            ++warps_;
            warp_x_ = last_x_ = release->x;
            warp_y_ = last_y_ = release->y;
        }
        // Giving the mouse back is a capture change: the cursor shows again
        // and the holder hears that it lost the mouse.
        lose_capture();
        return 0;
    }
    if (const auto* set = dynamic_cast<const SetTimer*>(&message)) {
        return arm(*set);
    }
    if (const auto* clear = dynamic_cast<const ClearTimer*>(&message)) {
        return disarm(clear->id);
    }
    if (const auto* request = dynamic_cast<const TextInputRequest*>(&message)) {
        return start_text_input(*request);
    }
    if (dynamic_cast<const TextInputStop*>(&message) != nullptr) {
        return stop_text_input();
    }
    return -1;
}

int HeadlessWindow::arm(const SetTimer& message) {
    if (refuse_timers_ || armed_count_ == max_timers ||
        add_timer(message.id, message.handler) != 0) {
        return -1;
    }
    const int period_ms = static_cast<int>(std::lround(message.period * 1000.0));
    armed_[armed_count_++] =
        Armed{message.id, period_ms, milliseconds(ToolkitClock::now()) + period_ms};
    return 0;
}

int HeadlessWindow::disarm(int id) {
    Armed* end = armed_.data() + armed_count_;
    Armed* at = std::find_if(armed_.data(), end, [id](const Armed& a) { return a.id == id; });
    if (at == end) {
        return 0;
    }
    std::move(at + 1, end, at);
    --armed_count_;
    return remove_timer(id);
}

int HeadlessWindow::timer_period_ms(int id) const {
    for (int i = 0; i < armed_count_; ++i) {
        if (armed_[i].id == id) {
            return armed_[i].period_ms;
        }
    }
    return -1;
}

long long HeadlessWindow::milliseconds(double seconds) {
    return std::llround(seconds * 1000.0);
}

void HeadlessWindow::run_timers() {
    const double now = ToolkitClock::now();
    const long long now_ms = milliseconds(now);
    // Handlers may arm and clear timers while they run: go by a copy of the
    // ids that are due now.
    std::array<int, max_timers> due{};
    int count = 0;
    for (int i = 0; i < armed_count_; ++i) {
        if (armed_[i].due_ms <= now_ms) {
            due[count++] = armed_[i].id;
        }
    }
    std::sort(due.begin(), due.begin() + count);
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < armed_count_; ++k) {
            if (armed_[k].id == due[i]) {
                armed_[k].due_ms = now_ms + armed_[k].period_ms;
                if (MessageHandlerInterface* handler = find_timer_handler(due[i])) {
                    handler->handle(Notify(due[i], now));
                }
                break;
            }
        }
    }
}

MessageHandlerInterface* HeadlessWindow::input_target() {
    return capture_holder() != nullptr ? capture_holder() : control_root();
}

void HeadlessWindow::mouse_move(int x, int y) {
    MessageHandlerInterface* target = input_target();
    int px = x;
    int py = y;
    if (capture_holder() != nullptr && capture_mode() == 2) {
        px = x - last_x_;
        py = y - last_y_;
    }
    last_x_ = x;
    last_y_ = y;
    if (target != nullptr) {
        target->handle(MouseMove(px, py));
    }
}

void HeadlessWindow::mouse_button(int x, int y, int buttons, int modifiers, int double_click) {
    // A press anywhere takes the focus from a running edit, which ends it.
    if (buttons != 0) {
        editor().press_enter();
    }
    last_x_ = x;
    last_y_ = y;
    if (MessageHandlerInterface* target = input_target()) {
        target->handle(MouseClick(x, y, buttons, modifiers, double_click));
    }
}

void HeadlessWindow::lose_capture() {
    cursor_hidden_ = false;
    release_capture();
}

PixelImage HeadlessWindow::render(const Rect& rect) {
    const Rect r = clip_to_content(rect);
    PixelImage image(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
    memory_->set_target(&image);
    redraw(r);
    memory_->set_target(&screen_);
    return image;
}

void HeadlessWindow::paint() {
    const Rect r = dirty_;
    dirty_ = Rect{};
    if (r.x0 < r.x1) {
        redraw(r);
    }
}

} // namespace pengui
