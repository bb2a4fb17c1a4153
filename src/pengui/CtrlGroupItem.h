#pragma once

#include "pengui/SPTreeNodeInterface.h"

#include <vector>

namespace pengui {

class ControlInterface;

// A leaf of the control tree: controls in insertion order, placed relative to
// the node. A point goes to the first control that contains it; an area to
// every control it overlaps, in order (so later controls paint over earlier
// ones). The controls are not owned.
class CtrlGroupItem : public CtrlGroupNodeInterface {
public:
    // [editor thread] Makes this the control's group. Returns the new count.
    int add_control(ControlInterface* control);
    // [editor thread] Places the node and every control at node position +
    // its position in the group. 0.
    int set_position(std::int32_t x, std::int32_t y) override;
    // [editor thread] When visible, asks every control to invalidate itself.
    void invalidate_all();
    // [editor thread]
    int handle_down(const MessageInterface& message) override;

private:
    std::vector<ControlInterface*> controls_;
    bool children_changed_ = false;
};

} // namespace pengui
