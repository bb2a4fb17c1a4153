#pragma once

#include "pengui/ControlInterface.h"
#include "pengui/PictureFrames.h"

namespace pengui {

// A momentary button: a press tells the listener (action 0) and runs the
// frames from the first to the last and back once. Its value never changes.
class PushButton : public ControlInterface {
public:
    PushButton() : frames_(2) {}

    // [editor thread]
    void set_frame_count(int count) { frames_.set_count(count); }
    void set_frame(int index, const Picture& picture) { frames_.set(index, picture); }
    void set_duration(double seconds) { duration_ = seconds; }
    // [editor thread] The animation's place, 0 (first frame) to 1 (last).
    double animation_position() const { return position_; }

    void cancel() override;
    void focus_changed(bool) override { invalidate(); }
    int on_redraw(const Redraw& message) override;
    int on_click(const MouseClick& message) override;
    int on_timer(const Notify& message) override;

private:
    PictureFrames frames_;
    double duration_ = 0.1;
    double start_time_ = 0;
    double position_ = 0;
    int timer_id_ = -1;
};

} // namespace pengui
