#pragma once

#include "pengui/BoundingBoxDefaultChecker.h"
#include "pengui/MessageHandlerInterface.h"
#include "pengui/Rect.h"
#include "pengui/Scale.h"

#include <cstdint>

namespace pengui {

class ClearTimer;
class CtrlGroupItem;
class EventListenerInterface;
class Invalidate;
class KeyPressed;
class MouseCapture;
class MouseCaptureLost;
class MouseClick;
class MouseMove;
class MouseRelease;
class Notify;
class Redraw;
class SetTimer;
class ShowObject;
class TextInputFinished;

// An interactive leaf of the control tree. Its bounding box (in its own space,
// relative to its absolute position) is both its click area and the area it
// repaints. handle is the one place where message types are told apart; each
// goes to one on_ operation. Up-going messages a control makes (timers,
// capture, text input) go through its own handle, so they climb through its
// group to the window.
//
// Everything runs on the editor thread.
class ControlInterface : public BoundingBoxDefaultChecker, public MessageHandlerInterface {
public:
    static constexpr int gesture_priority = 200;
    static constexpr int settle_priority = 50;
    static constexpr float timer_period = 0.03f;

    // [editor thread] A window-space point inside the bounding box.
    bool contains(std::int32_t x, std::int32_t y) const override;
    // [editor thread] Calls invalidate_self.
    virtual int invalidate();
    // [editor thread] Stops any running interaction (timer, capture, edit).
    virtual void cancel() {}
    // [editor thread]
    virtual void focus_changed(bool) {}
    // [editor thread]
    virtual void enable_changed(bool) {}
    // [editor thread] The message handlers called by handle.
    virtual int on_invalidate(const Invalidate& message);
    virtual int on_redraw(const Redraw& message);
    virtual int on_capture(const MouseCapture& message);
    virtual int on_release(const MouseRelease& message);
    virtual int on_capture_lost(const MouseCaptureLost& message);
    virtual int on_mouse_move(const MouseMove& message);
    virtual int on_click(const MouseClick& message);
    virtual int on_set_timer(const SetTimer& message);
    virtual int on_clear_timer(const ClearTimer& message);
    virtual int on_timer(const Notify& message);
    virtual int on_key(const KeyPressed& message);
    virtual int on_text_input_finished(const TextInputFinished& message);
    virtual int on_show(const ShowObject& message);
    // [editor thread] When shown, sends Invalidate with the window-space
    // bounding box up; 0 when hidden.
    virtual int invalidate_self();

    // [editor thread]
    int handle(const MessageInterface& message) override;

    // [editor thread] Not owned; calls the listener's attach.
    void set_listener(EventListenerInterface* listener);
    // [editor thread]
    EventListenerInterface* listener() const { return listener_; }
    // [editor thread] The position inside the group; becomes the absolute
    // position (with the group's) at once when placed and shown.
    void set_position_in_group(std::int32_t x, std::int32_t y);
    // [editor thread] A value the user set: the listener may refuse (false)
    // and maps it; stored unclamped; repaints if told to.
    bool set_value_from_user(double value, int priority);
    // [editor thread] A value from outside (a parameter change): the same
    // through the listener's outside mapping; always repaints.
    bool set_value_from_outside(double value, int priority);
    // [editor thread]
    double value() const { return value_; }
    bool enabled() const { return enabled_; }
    bool focused() const { return focused_; }
    bool shown() const { return shown_; }
    std::int32_t absolute_x() const { return abs_x_; }
    std::int32_t absolute_y() const { return abs_y_; }
    // [editor thread] Focus off, the listener told, focus_changed(false).
    void clear_focus();
    // [editor thread] enable_changed(false), cancel, then disabled.
    void disable();
    // [editor thread]
    void set_redraw_on_value_change(bool redraw) { redraw_on_value_change_ = redraw; }
    // [editor thread] The scale of the window the control is drawn in: its
    // box, position and pictures are device pixels at this scale, while
    // gestures measure their movements in logical pixels, so that a drag
    // feels the same at every scale. 1 unless set.
    void set_scale(Scale scale) { scale_ = scale; }
    Scale scale() const { return scale_; }

    // [editor thread] The window rectangle in this control's space.
    Rect local(const Rect& window_rect) const;
    // [editor thread] Sends m up to the group; -1 without one.
    int forward_up(const MessageInterface& m);
    // [editor thread] Asks for a timer; on success stores its id and returns
    // true, else leaves id alone.
    bool start_timer(float period, int& id);
    // [editor thread] Stops the timer id names, if any; id becomes -1.
    void stop_timer(int& id);
    // [editor thread] Asks for the mouse in mode; true when granted.
    bool capture_mouse(int mode);
    // [editor thread] Gives the mouse back, the cursor to reappear at (x, y).
    void release_mouse(std::int32_t x, std::int32_t y);

    // [editor thread] Used by CtrlGroupItem: the group, and its placing at
    // (gx, gy), which puts the control at (gx, gy) + its position in the group.
    void set_group(CtrlGroupItem* group) { group_ = group; }
    void place_in(std::int32_t gx, std::int32_t gy);
    // [editor thread] Whether the window-space bounding box (when not empty)
    // overlaps r.
    bool overlaps(const Rect& r) const;

private:
    bool set_value(double value, int priority, bool from_user);

    double value_ = 0;
    std::int32_t abs_x_ = 0;
    std::int32_t abs_y_ = 0;
    std::int32_t group_x_ = 0;
    std::int32_t group_y_ = 0;
    bool enabled_ = true;
    bool focused_ = false;
    CtrlGroupItem* group_ = nullptr;
    EventListenerInterface* listener_ = nullptr;
    bool shown_ = false;
    bool redraw_on_value_change_ = true;
    Scale scale_;
};

} // namespace pengui
