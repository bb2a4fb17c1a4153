#pragma once

namespace pengui {

class MessageInterface;

// Every element of the toolkit: window, tree node, control. Messages are
// delivered by synchronous calls; nothing is queued.
class MessageHandlerInterface {
public:
    virtual ~MessageHandlerInterface() = default;
    // [editor thread] 0 when handled (or succeeded), -1 when not.
    virtual int handle(const MessageInterface& message) = 0;
};

} // namespace pengui
