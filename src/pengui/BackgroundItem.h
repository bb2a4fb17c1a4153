#pragma once

#include "pengui/Picture.h"
#include "pengui/SPTreeNodeInterface.h"

namespace pengui {

// A leaf of the background tree: one picture, drawn at the node's position.
class BackgroundItem : public BackgroundNodeInterface {
public:
    // [editor thread] Copies the box and the (not owned) data pointer.
    void set_picture(const Picture& picture) { picture_ = picture; }
    // [editor thread] Draws the picture for a Redraw; ignores the rest. 0.
    int handle_down(const MessageInterface& message) override;

private:
    Picture picture_;
};

} // namespace pengui
