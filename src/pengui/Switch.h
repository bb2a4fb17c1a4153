#pragma once

#include "pengui/ControlInterface.h"
#include "pengui/PictureFrames.h"

namespace pengui {

// A selector of n positions whose pictures are also their click zones: a
// press on position i sets the value i / (n - 1).
class Switch : public ControlInterface {
public:
    Switch() : positions_(2) {}

    // [editor thread]
    void set_background(const Picture& picture) {
        background_ = picture;
        has_background_ = true;
    }
    void set_position_count(int count) { positions_.set_count(count); }
    void set_position_picture(int index, const Picture& picture) { positions_.set(index, picture); }
    bool captured() const { return captured_; }

    void cancel() override;
    void focus_changed(bool) override { invalidate(); }
    int on_redraw(const Redraw& message) override;
    int on_click(const MouseClick& message) override;
    int on_capture_lost(const MouseCaptureLost& message) override;

private:
    Picture background_;
    bool has_background_ = false;
    PictureFrames positions_;
    bool captured_ = false;
};

} // namespace pengui
