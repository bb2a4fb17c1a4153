#include "pengui/CtrlGroupItem.h"

#include "pengui/ControlInterface.h"
#include "pengui/Messages.h"

namespace pengui {

int CtrlGroupItem::add_control(ControlInterface* control) {
    control->set_group(this);
    controls_.push_back(control);
    children_changed_ = true;
    return static_cast<int>(controls_.size());
}

int CtrlGroupItem::set_position(std::int32_t x, std::int32_t y) {
    SPTreeNodeInterface::set_position(x, y);
    for (ControlInterface* control : controls_) {
        control->place_in(x, y);
    }
    return 0;
}

void CtrlGroupItem::invalidate_all() {
    if (!visible()) {
        return;
    }
    children_changed_ = false;
    for (std::size_t i = 0; i < controls_.size() && !children_changed_; ++i) {
        controls_[i]->invalidate();
    }
}

int CtrlGroupItem::handle_down(const MessageInterface& message) {
    const auto* down = dynamic_cast<const MessageDown*>(&message);
    if (down == nullptr) {
        return 0;
    }
    const Rect& r = down->rect;
    if (r.is_point()) {
        for (ControlInterface* control : controls_) {
            if (control->contains(r.x0, r.y0)) {
                return control->handle(message);
            }
        }
        return 0;
    }
    int result = 0;
    children_changed_ = false;
    for (std::size_t i = 0; i < controls_.size() && !children_changed_; ++i) {
        if (controls_[i]->overlaps(r)) {
            result = controls_[i]->handle(message);
        }
    }
    return result;
}

} // namespace pengui
