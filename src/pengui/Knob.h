#pragma once

#include "pengui/ControlInterface.h"
#include "pengui/Picture.h"
#include "pengui/PictureFrames.h"
#include "pengui/PotBehaviour.h"

#include <vector>

namespace pengui {

// A rotary pot. The value v turns the pointer to the angle
// (v x angle range + angle offset) turns, counter-clockwise from the right:
// with the defaults from 225 degrees at 0 clockwise over the top to -45
// degrees at 1. A press in the middle of the face drags (see PotBehaviour),
// a press in the lower-left or lower-right corner spins the value down or
// up (for a negative range) until the release, after which it decays.
class Knob : public ControlInterface {
public:
    enum PictureKind { pointer_picture = 0, focus_picture = 2, drag_picture = 3 };
    static constexpr int default_drag_range = 200;

    Knob() : frames_(1), behaviour_(*this) {}

    // [editor thread] Pictures and settings.
    void set_picture(PictureKind kind, const Picture& picture);
    void set_frame_count(int count) { frames_.set_count(count); }
    void set_frame(int index, const Picture& picture) { frames_.set(index, picture); }
    void set_angles(float offset, float range) {
        angle_offset_ = offset;
        angle_range_ = range;
    }
    void set_fine_factor(float factor) { fine_factor_ = factor; }
    void set_pointer_radius(float radius) { pointer_radius_ = radius; }
    void set_spin_speed_factor(float factor) { spin_speed_factor_ = factor; }
    // [editor thread] Logical pixels of vertical drag for the full scale (at
    // least 1).
    void set_drag_range(int pixels) { drag_range_ = pixels > 0 ? pixels : 1; }
    void set_rotate_pointer(bool rotate) { rotate_pointer_ = rotate; }
    void set_rotate_frame(bool rotate) { rotate_frame_ = rotate; }
    // [editor thread] Values (normalized) a drag snaps to; null for none.
    // Not owned.
    void set_snap_list(const std::vector<double>* list) { behaviour_.set_snap_list(list); }

    // [editor thread] Read by the behaviour.
    float fine_factor() const { return fine_factor_; }
    int drag_range() const { return drag_range_; }
    float spin_speed_factor() const { return spin_speed_factor_; }
    double spin_speed() const { return spin_speed_; }
    void set_spin_speed(double speed) { spin_speed_ = speed; }
    const PotBehaviour& behaviour() const { return behaviour_; }
    bool button_held() const { return button_held_; }

    void cancel() override;
    void focus_changed(bool) override { invalidate(); }
    int on_redraw(const Redraw& message) override;
    int on_click(const MouseClick& message) override;
    int on_mouse_move(const MouseMove& message) override;
    int on_timer(const Notify& message) override;
    int on_capture_lost(const MouseCaptureLost& message) override;

private:
    void press(const MouseClick& message);
    void release();

    PictureFrames frames_;
    Picture pictures_[4];
    int picture_flags_ = 0;
    float frame_angle_offset_ = 0;
    float frame_angle_span_ = 1.0f;
    float fine_factor_ = 0;
    float angle_offset_ = 0.625f;
    float angle_range_ = -0.75f;
    float pointer_radius_ = 0;
    float spin_speed_factor_ = 1.0f;
    int drag_range_ = default_drag_range;
    bool rotate_pointer_ = false;
    bool rotate_frame_ = false;
    PotBehaviour behaviour_;
    int press_x_ = 0;
    double spin_speed_ = 0;
    bool released_ = false;
    bool button_held_ = false;
};

} // namespace pengui
