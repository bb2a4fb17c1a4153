#pragma once

#include <vector>

namespace pengui {

class Knob;

// The gesture engine of one knob. Drag (mode 1): the mouse moves a raw value
// (200 logical pixels upwards for the full scale by default; mostly sideways moves
// enter a fine mode) and the knob's value follows it through a smoothing
// step; a snap list makes the target jump between listed values. Spin
// (mode 2): the value turns at a speed that the corners of the knob set and
// that decays to a stop after the release.
class PotBehaviour {
public:
    enum Mode { idle = 0, drag = 1, spin = 2 };

    explicit PotBehaviour(Knob& knob) : knob_(knob) {}

    // [editor thread] Starts a drag from value: relative capture and a
    // timer; on any refusal both are undone and the mode stays idle.
    void start_drag(double value);
    // [editor thread] Starts a spin: plain capture and a timer.
    void start_spin();
    // [editor thread] Timer and capture stopped, mode idle.
    void stop();
    // [editor thread] Gives the mouse back (to reappear at (x, y)), if held.
    void release_capture(int x, int y);
    // [editor thread] The window took the mouse away.
    void capture_lost() { captured_ = false; }
    // [editor thread] A relative movement (device pixels) while dragging;
    // returns whether the knob's value should change to value().
    bool drag_move(int dx, int dy, double now);
    // [editor thread] A movement to x while spinning, press_x being where
    // the press was: beyond 4 logical pixels it sets the knob's spin speed.
    void spin_move(int x, int press_x);
    // [editor thread] A timer tick; returns whether the value changed.
    bool tick(double now, bool released);

    // [editor thread] Not owned; null for none.
    void set_snap_list(const std::vector<double>* list) { snap_list_ = list; }
    const std::vector<double>* snap_list() const { return snap_list_; }
    Mode mode() const { return mode_; }
    bool fine_mode() const { return fine_; }
    double value() const { return value_; }
    double raw() const { return raw_; }
    double target() const { return target_; }
    int timer_id() const { return timer_id_; }

private:
    bool start(Mode mode, int capture_mode);
    // Moves value_ towards the target; returns whether it changed.
    bool smooth(double now);
    bool spin_step(double now, bool released);
    void snap();

    Knob& knob_;
    Mode mode_ = idle;
    bool captured_ = false;
    int timer_id_ = -1;
    double value_ = 0;
    double raw_ = 0;
    double target_ = 0;
    double previous_distance_ = 0;
    double last_step_ = 0;
    float smoothed_vertical_ = 1.0f;
    float smoothed_horizontal_ = 0.0f;
    bool fine_ = false;
    float fine_travel_ = 0; // logical pixels
    double velocity_ = 0;
    bool speed_set_by_mouse_ = false;
    const std::vector<double>* snap_list_ = nullptr;
};

} // namespace pengui
