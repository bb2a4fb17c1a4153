#include "pengui/HeadlessWindow.h"

#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/ScriptedTextLineEditor.h"

namespace pengui {

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

void HeadlessWindow::content_size_changed() {
    screen_ = PixelImage(0, 0, content_width(), content_height());
    memory_->set_target(&screen_);
}

void HeadlessWindow::invalidate_native(const Rect& area) {
    dirty_ = bounding_union(dirty_, area);
}

int HeadlessWindow::grab_mouse() {
    ++capture_requests_;
    return refuse_capture_ ? -1 : 0;
}

void HeadlessWindow::warp_pointer(int x, int y) {
    ++warps_;
    warp_x_ = x;
    warp_y_ = y;
}

int HeadlessWindow::start_timer(int id, int period_ms) {
    if (refuse_timers_) {
        return -1;
    }
    timers_.add(this, id, period_ms);
    return 0;
}

int HeadlessWindow::stop_timer(int id) {
    timers_.remove(id);
    return 0;
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
    paint_region(r);
}

} // namespace pengui
