#include "pengui/SPTreeNodeInterface.h"

#include "pengui/Messages.h"

namespace pengui {

int SPTreeNodeInterface::handle(const MessageInterface& message) {
    if (dynamic_cast<const MessageUp*>(&message) != nullptr) {
        return parent_ != nullptr ? parent_->handle(message) : -1;
    }
    if (const auto* show = dynamic_cast<const ShowObject*>(&message)) {
        visible_ = show->visible;
    }
    return handle_down(message);
}

int SPTreeNodeInterface::set_position(std::int32_t x, std::int32_t y) {
    x_ = x;
    y_ = y;
    return 0;
}

int SPTreeNodeInterface::handle_down(const MessageInterface&) {
    return 0;
}

} // namespace pengui
