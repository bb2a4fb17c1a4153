#include "pengui/SPTreeSplit.h"

#include "pengui/Messages.h"

namespace pengui {

int SPTreeSplit::set_position(std::int32_t x, std::int32_t y) {
    SPTreeNodeInterface::set_position(x, y);
    std::int64_t offset = direction_ == row ? x : y;
    for (const Child& child : children_) {
        const auto at = static_cast<std::int32_t>(offset);
        if (direction_ == row) {
            child.node->set_position(at, y);
        } else {
            child.node->set_position(x, at);
        }
        offset += child.extent;
    }
    return child_count();
}

int SPTreeSplit::child_at(std::int32_t c) const {
    if (children_.empty()) {
        return -1;
    }
    std::int64_t start = direction_ == row ? x() : y();
    const int last = child_count() - 1;
    for (int i = 0; i < last; ++i) {
        if (c < start + children_[i].extent) {
            return i;
        }
        start += children_[i].extent;
    }
    return last;
}

int SPTreeSplit::handle_down(const MessageInterface& message) {
    const auto* down = dynamic_cast<const MessageDown*>(&message);
    if (down == nullptr || children_.empty()) {
        return 0;
    }
    const Rect& r = down->rect;
    // The last pixel of an area; a point is its own last pixel.
    const std::int32_t first = direction_ == row ? r.x0 : r.y0;
    const std::int32_t end = direction_ == row ? r.x1 : r.y1;
    const int from = child_at(first);
    const int to = child_at(end > first ? end - 1 : first);
    children_changed_ = false;
    for (int i = from; i <= to && !children_changed_; ++i) {
        children_[i].node->handle(message);
    }
    return 0;
}

int SPTreeSplit::add_node(SPTreeNodeInterface* node, std::int32_t extent) {
    std::int64_t offset = direction_ == row ? x() : y();
    for (const Child& child : children_) {
        offset += child.extent;
    }
    node->set_parent(this);
    const auto at = static_cast<std::int32_t>(offset);
    if (direction_ == row) {
        node->set_position(at, y());
    } else {
        node->set_position(x(), at);
    }
    children_.push_back(Child{node, extent});
    node->handle(ShowObject(visible()));
    children_changed_ = true;
    return child_count();
}

int SPTreeSplit::remove_child(int index) {
    if (index < 0 || index >= child_count()) {
        return -1;
    }
    children_[index].node->handle(ShowObject(false));
    children_.erase(children_.begin() + index);
    set_position(x(), y());
    children_changed_ = true;
    return 0;
}

int SPTreeSplit::replace_node(SPTreeNodeInterface* node, std::int32_t extent, int index) {
    if (index < 0 || index >= child_count()) {
        return -1;
    }
    SPTreeNodeInterface* old = children_[index].node;
    old->handle(ShowObject(false));
    old->set_parent(nullptr);
    children_[index] = Child{node, extent};
    node->set_parent(this);
    set_position(x(), y());
    node->handle(ShowObject(visible()));
    children_changed_ = true;
    return 0;
}

} // namespace pengui
