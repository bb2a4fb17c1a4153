#pragma once

#include "pengui/SPTreeNodeInterface.h"

#include <cstdint>
#include <vector>

namespace pengui {

// A row (direction 1) or column (any other direction) of child nodes laid end
// to end, each given an extent in pixels along the direction. It routes a
// down-going message to the children whose bands hold the message's
// rectangle. The children are not owned.
class SPTreeSplit : public virtual SPTreeNodeInterface {
public:
    static constexpr int row = 1;
    static constexpr int column = 0;

    explicit SPTreeSplit(int direction = column) : direction_(direction) {}

    // [editor thread] Places the split and its children along the direction.
    // Returns the child count.
    int set_position(std::int32_t x, std::int32_t y) override;
    // [editor thread] Routes a MessageDown to the children from the band of
    // its top-left corner to the band of its last pixel; stops when a child
    // changes the split's children meanwhile. 0.
    int handle_down(const MessageInterface& message) override;

    // [editor thread] Hides child index, takes it out and moves the following
    // ones back. 0, or -1 for an index out of range.
    int remove_child(int index);
    // [editor thread] The index of the child whose band holds coordinate c
    // (x of a row, y of a column); coordinates before the first or after the
    // last band go to the first or last child. -1 without children.
    int child_at(std::int32_t c) const;
    // [editor thread]
    int child_count() const { return static_cast<int>(children_.size()); }

protected:
    // Appends a child after the others, places and shows it (with the
    // split's visibility). Returns the new child count.
    int add_node(SPTreeNodeInterface* node, std::int32_t extent);
    // Hides and detaches child index, puts node there with extent, re-places
    // the split and shows node. 0, or -1 for an index out of range.
    int replace_node(SPTreeNodeInterface* node, std::int32_t extent, int index);

private:
    struct Child {
        SPTreeNodeInterface* node;
        std::int32_t extent;
    };

    int direction_;
    std::vector<Child> children_;
    bool children_changed_ = false;
};

// A split of the background tree: only background nodes go in.
class BackgroundSplit : public BackgroundNodeInterface, public SPTreeSplit {
public:
    explicit BackgroundSplit(int direction = column) : SPTreeSplit(direction) {}
    // [editor thread]
    int add_child(BackgroundNodeInterface* node, std::int32_t extent) {
        return add_node(node, extent);
    }
    // [editor thread] Exchanges one band for another (of any extent).
    int replace_child(BackgroundNodeInterface* node, std::int32_t extent, int index) {
        return replace_node(node, extent, index);
    }
};

// A split of the control tree: only control-tree nodes go in.
class CtrlGroupSplit : public CtrlGroupNodeInterface, public SPTreeSplit {
public:
    explicit CtrlGroupSplit(int direction = column) : SPTreeSplit(direction) {}
    // [editor thread]
    int add_child(CtrlGroupNodeInterface* node, std::int32_t extent) {
        return add_node(node, extent);
    }
    // [editor thread]
    int replace_child(CtrlGroupNodeInterface* node, std::int32_t extent, int index) {
        return replace_node(node, extent, index);
    }
};

} // namespace pengui
