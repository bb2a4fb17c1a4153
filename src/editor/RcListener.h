#pragma once

#include "editor/NumericParamListener.h"

namespace pengui {
class MessageInterface;
}

namespace editor {

class ZentrovaGui;

// Links a delay-line control to the same control of the other line while the
// right button drags it: the partner follows absolutely (control key:
// mirrored) or keeps the offset it had at the press (shift: relative,
// stopping at 0 and 1). The partner's change goes through its own listener
// to the host. While a partner moves, the editor's link flag is set, so the
// partner's own link cannot move this control back.
//
// Everything runs on the editor thread.
class RcListener {
public:
    explicit RcListener(mppi::ListenerBase& owner) : owner_(owner) {}

    // [editor thread] Not owned.
    void set_gui(ZentrovaGui* gui) { gui_ = gui; }
    // [editor thread] Reads the link flags and bounds from a press (a
    // release changes nothing).
    void look_at(const pengui::MessageInterface& message);
    // [editor thread] Before this control takes value l from the user: moves
    // the partner when linked.
    void link(double l, int priority);
    // [editor thread] When this control's gesture ends, the partner's claim
    // of that priority ends too, so that the settling steps reach it.
    void gesture_ended(int priority);
    // [editor thread] The same control of the other line: p + 33 for the
    // first line, p - 33 for the second, parameter 0 for anything else.
    static int partner_of(int index);

private:
    mppi::ListenerBase& owner_;
    ZentrovaGui* gui_ = nullptr;
    bool linked_ = false;
    bool relative_ = false;
    bool mirrored_ = false;
    double edge_ = -1.0;
    double lower_ = -1.0;
    double upper_ = -1.0;
};

// A delay-line knob linked to its partner.
class NumValListenerRc : public NumValListenerInterface {
public:
    NumValListenerRc() : rc_(*this) {}
    RcListener& rc() { return rc_; }
    // [editor thread]
    double map_value_from_user(double value, int priority) override;
    void gesture_ended(int priority) override;
    void before_message(const pengui::MessageInterface& message) override;

private:
    RcListener rc_;
};

// A delay-line switch linked to its partner; it shows no panel.
class ListenerBaseRc : public mppi::ListenerBase {
public:
    ListenerBaseRc() : rc_(*this) {}
    RcListener& rc() { return rc_; }
    // [editor thread]
    double map_value_from_user(double value, int priority) override;
    void before_message(const pengui::MessageInterface& message) override;

private:
    RcListener rc_;
};

} // namespace editor
