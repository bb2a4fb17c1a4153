#include "editor/RcListener.h"

#include "editor/ZentrovaGui.h"
#include "mppi/binding/MetaControl.h"
#include "pengui/ControlInterface.h"
#include "pengui/Messages.h"

#include <algorithm>

namespace editor {

namespace {
// The two lines' parameters: line 1 from 55 to 87, line 2 from 88 to 120.
constexpr int first_line_begin = 55;
constexpr int line_stride = 33;
} // namespace

int RcListener::partner_of(int index) {
    if (index >= first_line_begin && index < first_line_begin + line_stride) {
        return index + line_stride;
    }
    if (index >= first_line_begin + line_stride && index < first_line_begin + 2 * line_stride) {
        return index - line_stride;
    }
    return 0;
}

void RcListener::look_at(const pengui::MessageInterface& message) {
    const auto* click = dynamic_cast<const pengui::MouseClick*>(&message);
    // A release keeps the link of its press, so the knob's settling after
    // the release still reaches the partner.
    if (click == nullptr || click->buttons == 0 || gui_ == nullptr) {
        return;
    }
    linked_ = (click->buttons & pengui::MouseClick::right) != 0;
    relative_ = (click->modifiers & pengui::MouseClick::shift_key) != 0;
    mirrored_ = (click->modifiers & pengui::MouseClick::control_key) != 0;
    pengui::ControlInterface* partner = gui_->meta(partner_of(owner_.get_index())).control();
    if (!relative_ || partner == nullptr || owner_.attached_control() == nullptr) {
        return;
    }
    const double c = owner_.attached_control()->value();
    const double d = partner->value();
    if (mirrored_) {
        edge_ = c + d;
        lower_ = c + d - 1;
        upper_ = c + d;
    } else {
        edge_ = c - d;
        lower_ = d - c;
        upper_ = d + 1 - c;
    }
}

void RcListener::link(double l, int priority) {
    if (!linked_ || gui_ == nullptr || gui_->linking() || owner_.attached_control() == nullptr) {
        return;
    }
    pengui::ControlInterface* partner = gui_->meta(partner_of(owner_.get_index())).control();
    if (partner == nullptr) {
        return;
    }
    const double r = owner_.attached_control()->value();
    const double o = partner->value();
    double v;
    if (relative_ && !mirrored_) {
        v = l <= edge_ ? 0 : l >= edge_ + 1 ? 1 : std::clamp(o + (l - r), lower_, upper_);
        v = std::clamp(v, 0.0, 1.0);
    } else if (relative_) {
        v = l <= edge_ - 1 ? 1 : l >= edge_ ? 0 : std::clamp(o - (l - r), lower_, upper_);
        v = std::clamp(v, 0.0, 1.0);
    } else {
        v = mirrored_ ? 1 - l : l;
    }
    gui_->set_linking(true);
    partner->set_value_from_user(v, priority);
    gui_->set_linking(false);
}

void RcListener::gesture_ended(int priority) {
    if (!linked_ || gui_ == nullptr) {
        return;
    }
    pengui::ControlInterface* partner = gui_->meta(partner_of(owner_.get_index())).control();
    if (partner != nullptr && partner->listener() != nullptr) {
        partner->listener()->gesture_ended(priority);
    }
}

double NumValListenerRc::map_value_from_user(double value, int priority) {
    rc_.link(value, priority);
    return NumValListenerInterface::map_value_from_user(value, priority);
}

void NumValListenerRc::gesture_ended(int priority) {
    NumValListenerInterface::gesture_ended(priority);
    rc_.gesture_ended(priority);
}

void NumValListenerRc::before_message(const pengui::MessageInterface& message) {
    rc_.look_at(message);
}

double ListenerBaseRc::map_value_from_user(double value, int priority) {
    rc_.link(value, priority);
    return ListenerBase::map_value_from_user(value, priority);
}

void ListenerBaseRc::before_message(const pengui::MessageInterface& message) {
    rc_.look_at(message);
}

} // namespace editor
