#pragma once

#include "pengui/ControlInterface.h"
#include "pengui/PictureFrames.h"

namespace pengui {

// A two-state toggle: a press flips the value between 0 and 1, at once or
// with the frames animated over the duration.
class FlipFlop : public ControlInterface {
public:
    FlipFlop() : frames_(2) {}

    // [editor thread]
    void set_frame_count(int count) { frames_.set_count(count); }
    void set_frame(int index, const Picture& picture) { frames_.set(index, picture); }
    void set_duration(double seconds) { duration_ = seconds; }
    // [editor thread] What the frames show: the value, or the animation's
    // place while it runs.
    double shown_position() const { return timer_id_ != -1 ? position_ : value(); }

    void cancel() override { stop_timer(timer_id_); }
    void focus_changed(bool) override { invalidate(); }
    int on_redraw(const Redraw& message) override;
    int on_click(const MouseClick& message) override;
    int on_timer(const Notify& message) override;

private:
    PictureFrames frames_;
    double duration_ = 0;
    double start_time_ = 0;
    double position_ = 0;
    int timer_id_ = -1;
};

} // namespace pengui
