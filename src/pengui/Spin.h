#pragma once

#include "pengui/ControlInterface.h"
#include "pengui/Picture.h"

#include <array>

namespace pengui {

// Up and down arrows with auto-repeat, and a handle dragged up and down.
// Holding an arrow steps the value by the slow step (0.001 unless set) every
// 0.1 s after 0.5 s, and by the fast step (0.005) every 0.03 s after 2 s; dragging the handle moves
// it by 1/180 a logical pixel.
class Spin : public ControlInterface {
public:
    enum Part { up_normal, up_pressed, down_normal, down_pressed, handle_normal, handle_pressed };
    enum Active { none = 0, up_held = 1, down_held = 2, handle_dragged = 4 };

    // [editor thread]
    void set_picture(Part part, const Picture& picture);
    void set_handle_on_top(bool on_top) { handle_on_top_ = on_top; }
    void set_steps(double slow, double fast) {
        slow_step_ = slow;
        fast_step_ = fast;
    }
    int active_part() const { return active_; }
    int repeat_stage() const { return stage_; }

    void cancel() override;
    void focus_changed(bool) override { invalidate(); }
    int on_redraw(const Redraw& message) override;
    int on_click(const MouseClick& message) override;
    int on_mouse_move(const MouseMove& message) override;
    int on_timer(const Notify& message) override;
    int on_capture_lost(const MouseCaptureLost& message) override;

private:
    bool hit(Part part, const Rect& point) const;
    // Draws normal or pressed when both pictures of the part are set.
    void draw_part(Part normal, bool pressed, const Redraw& message) const;
    // Moves the value by delta (clamped) as the user; a refusal cancels.
    void step(double delta);

    std::array<Picture, 6> pictures_;
    int picture_flags_ = 0;
    bool handle_on_top_ = true;
    double slow_step_ = 0.001;
    double fast_step_ = 0.005;
    int active_ = none;
    int stage_ = 0;
    double start_time_ = 0;
    int press_x_ = 0;
    int press_y_ = 0;
    int timer_id_ = -1;
    bool captured_ = false;
};

} // namespace pengui
