#include "pengui/PotBehaviour.h"

#include "pengui/Knob.h"
#include "pengui/ToolkitClock.h"

#include <algorithm>
#include <cmath>

namespace pengui {

namespace {
constexpr double pi = 3.14159265358979323846;
// Fine mode starts when the movement's angle from the horizontal drops to
// pi / 8 and ends when it climbs to 3 pi / 8.
constexpr double fine_enter = pi / 8;
constexpr double fine_leave = 3 * pi / 8;
// Fine-mode pixels after which the target stops snapping and the raw value
// restarts from it.
constexpr int fine_snap_travel = 16;
constexpr double cutoff_hz = 3.0;
constexpr double settled = 1e-6;
// Beyond this many pixels from the press, sideways moves set the spin speed.
constexpr int spin_dead_zone = 4;
} // namespace

bool PotBehaviour::start(Mode mode, int capture_mode) {
    stop();
    mode_ = mode;
    captured_ = knob_.capture_mouse(capture_mode);
    if (captured_) {
        last_step_ = ToolkitClock::now();
        if (knob_.start_timer(ControlInterface::timer_period, timer_id_)) {
            return true;
        }
    }
    stop();
    return false;
}

void PotBehaviour::start_drag(double value) {
    if (start(drag, 2)) {
        value_ = raw_ = target_ = value;
        fine_ = false;
        fine_travel_ = 0;
        smoothed_vertical_ = 1.0f;
        smoothed_horizontal_ = 0.0f;
    }
}

void PotBehaviour::start_spin() {
    if (start(spin, 0)) {
        value_ = knob_.value();
        velocity_ = 0;
        speed_set_by_mouse_ = false;
    }
}

void PotBehaviour::stop() {
    knob_.stop_timer(timer_id_);
    release_capture(knob_.absolute_x(), knob_.absolute_y());
    mode_ = idle;
}

void PotBehaviour::release_capture(int x, int y) {
    if (captured_) {
        captured_ = false;
        knob_.release_mouse(x, y);
    }
}

void PotBehaviour::snap() {
    if (snap_list_ == nullptr || snap_list_->empty()) {
        target_ = raw_;
        return;
    }
    const double c = std::clamp(raw_, 0.0, 1.0);
    const double current = (target_ < 0 || target_ > 1) ? 999999.0 : std::fabs(c - target_);
    const double* nearest = &snap_list_->front();
    for (const double& v : *snap_list_) {
        if (std::fabs(v - c) < std::fabs(*nearest - c)) {
            nearest = &v;
        }
    }
    if (std::fabs(*nearest - c) < current / 3) {
        target_ = *nearest;
    }
}

bool PotBehaviour::drag_move(int dx, int dy, double now) {
    if (dx == 0 && dy == 0) {
        return false;
    }
    // Logical pixels: the same gesture at every scale.
    const auto per_pixel = static_cast<float>(knob_.scale().factor());
    const float dv = static_cast<float>(-dy) / per_pixel;
    const float dh = static_cast<float>(dx) / per_pixel;
    smoothed_vertical_ += (std::abs(dv) - smoothed_vertical_) * 0.9f;
    smoothed_horizontal_ += (std::abs(dh) - smoothed_horizontal_) * 0.9f;
    const double angle = std::fabs(smoothed_horizontal_) >= 1e-9
                             ? std::atan(smoothed_vertical_ / smoothed_horizontal_)
                             : pi;
    if (fine_ && angle >= fine_leave) {
        fine_ = false;
        fine_travel_ = 0;
    } else if (!fine_ && angle <= fine_enter) {
        fine_ = true;
    }
    double m = dv;
    if (fine_) {
        const bool below = fine_travel_ <= fine_snap_travel;
        fine_travel_ += std::abs(dh);
        m = dh * static_cast<double>(knob_.fine_factor());
        if (below && fine_travel_ > fine_snap_travel) {
            raw_ = target_;
        }
    }
    m /= knob_.drag_range();
    // The raw value may overshoot, but a reversal starts from the edge.
    if (raw_ > 1 && m < 0) {
        raw_ = 1 + m;
    } else if (raw_ < 0 && m > 0) {
        raw_ = m;
    } else {
        raw_ += m;
    }
    if (fine_travel_ <= fine_snap_travel) {
        snap();
    } else {
        target_ = raw_;
    }
    return smooth(now);
}

bool PotBehaviour::smooth(double now) {
    const double before = value_;
    const double d = std::fabs(target_ - value_);
    if (d > settled) {
        double cutoff = cutoff_hz;
        if (previous_distance_ > 1.5 * d) {
            cutoff = cutoff_hz * (previous_distance_ / d);
        }
        const double dt = now - last_step_;
        value_ += (target_ - value_) * (1 - std::exp(-2 * pi * cutoff * dt));
    } else {
        value_ = target_;
    }
    value_ = std::clamp(value_, 0.0, 1.0);
    previous_distance_ = d;
    last_step_ = now;
    return value_ != before;
}

void PotBehaviour::spin_move(int x, int press_x) {
    const double dx = (x - press_x) / knob_.scale().factor();
    if (std::abs(dx) > spin_dead_zone) {
        knob_.set_spin_speed(dx * std::abs(dx) * static_cast<double>(knob_.spin_speed_factor()) *
                             std::ldexp(1.0, -16));
        speed_set_by_mouse_ = true;
    }
}

bool PotBehaviour::spin_step(double now, bool released) {
    const double before = value_;
    const double dt = now - last_step_;
    last_step_ = now;
    const double s = released ? 0.0 : knob_.spin_speed();
    if (std::fabs(velocity_) < settled && s == 0) {
        velocity_ = 0;
    } else if (speed_set_by_mouse_ && s != 0) {
        velocity_ = s;
    } else {
        const double change =
            s != 0 ? dt * (8 * s - 8 * velocity_) / 64 : dt * (8 * s - 8 * velocity_);
        // Towards s, never past it.
        velocity_ =
            s > velocity_ ? std::min(velocity_ + change, s) : std::max(velocity_ + change, s);
    }
    value_ = std::clamp(value_ + dt * velocity_, 0.0, 1.0);
    return value_ != before;
}

bool PotBehaviour::tick(double now, bool released) {
    if (mode_ == drag) {
        return smooth(now);
    }
    if (mode_ == spin) {
        return spin_step(now, released);
    }
    return false;
}

} // namespace pengui
