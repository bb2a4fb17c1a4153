#pragma once

#include "pengui/MessageHandlerInterface.h"

#include <cstdint>
#include <limits>

namespace pengui {

// A node of the scene tree: placed at a window-space position, below a parent
// (a split, or the window for a root), visible once a ShowObject says so.
// Up-going messages climb to the parent; the rest go to handle_down.
class SPTreeNodeInterface : public MessageHandlerInterface {
public:
    static constexpr std::int32_t unplaced = std::numeric_limits<std::int32_t>::min();

    // [editor thread]
    int handle(const MessageInterface& message) override;
    // [editor thread] Places the node; splits and leaves move their content.
    virtual int set_position(std::int32_t x, std::int32_t y);
    // [editor thread] The messages that do not climb; 0 unless overridden.
    virtual int handle_down(const MessageInterface& message);

    // [editor thread] Not owned; null for a detached node.
    void set_parent(MessageHandlerInterface* parent) { parent_ = parent; }
    MessageHandlerInterface* parent() const { return parent_; }
    std::int32_t x() const { return x_; }
    std::int32_t y() const { return y_; }
    bool visible() const { return visible_; }

private:
    std::int32_t x_ = unplaced;
    std::int32_t y_ = unplaced;
    MessageHandlerInterface* parent_ = nullptr;
    bool visible_ = false;
};

// Marks the nodes of the background tree.
class BackgroundNodeInterface : public virtual SPTreeNodeInterface {};

// Marks the nodes of the control tree.
class CtrlGroupNodeInterface : public virtual SPTreeNodeInterface {};

} // namespace pengui
