#pragma once

#include "pengui/Rect.h"

#include <string_view>

namespace pengui {

class MessageHandlerInterface;
class RenderingBufferInterface;

// The toolkit's messages. A message is built on the sender's stack and lives
// for one call. Its class gives its direction: a MessageUp climbs from its
// sender to the window, a MessageDown descends from the window or a node,
// routed by its rectangle (a point reaches at most one control, an area
// every control it overlaps). Texts are views into the sender's string,
// valid for the call.

class MessageInterface {
public:
    virtual ~MessageInterface() = default;
};

class MessageUp : public MessageInterface {};

class MessageDown : public MessageInterface {
public:
    explicit MessageDown(const Rect& r) : rect(r) {}
    const Rect rect;
};

class GraphicMessage {
public:
    virtual ~GraphicMessage() = default;
};

class TimerMessage {
public:
    virtual ~TimerMessage() = default;
};

class MouseMessage {
public:
    virtual ~MouseMessage() = default;
};

class KeyboardMessage {
public:
    virtual ~KeyboardMessage() = default;
};

// A window-space rectangle to repaint.
class Invalidate : public MessageUp, public GraphicMessage {
public:
    explicit Invalidate(const Rect& r) : rect(r) {}
    const Rect rect;
};

// Paint the window area rect into buffer, whose pixel (0, 0) stands for
// (rect.x0, rect.y0).
class Redraw : public GraphicMessage, public MessageDown {
public:
    Redraw(RenderingBufferInterface& b, const Rect& r) : MessageDown(r), buffer(&b) {}
    RenderingBufferInterface* const buffer;
};

// Asks for Notify every period seconds. Each one built takes the next id of a
// process-wide sequence (1, 2, 3, ..., never reused), also written to *id_out
// so that the sender knows it before sending.
class SetTimer : public MessageUp, public TimerMessage {
public:
    class TimerIdGenerator {
    public:
        // [editor thread]
        static TimerIdGenerator& instance();
        // [editor thread]
        int next() { return ++last_; }

    private:
        int last_ = 0;
    };

    SetTimer(MessageHandlerInterface& h, float period_seconds, int* id_out = nullptr)
        : handler(&h), period(period_seconds), id(TimerIdGenerator::instance().next()) {
        if (id_out != nullptr) {
            *id_out = id;
        }
    }
    MessageHandlerInterface* const handler;
    const float period;
    const int id;
};

class ClearTimer : public MessageUp, public TimerMessage {
public:
    explicit ClearTimer(int timer_id) : id(timer_id) {}
    const int id;
};

// A timer's tick, at time seconds.
class Notify : public MessageDown, public TimerMessage {
public:
    Notify(int timer_id, double tick_time) : MessageDown(Rect{}), id(timer_id), time(tick_time) {}
    const int id;
    const double time;
};

class ShowObject : public MessageDown {
public:
    explicit ShowObject(bool is_visible)
        : MessageDown(Rect{-32000, -32000, 32000, 32000}), visible(is_visible) {}
    const bool visible;
};

// The cursor point, or under a relative capture the movement since the
// previous event.
class MouseMove : public MessageDown, public MouseMessage {
public:
    MouseMove(int px, int py) : MessageDown(Rect{px, py, px, py}), x(px), y(py) {}
    const int x;
    const int y;
};

class MouseClick : public MessageDown, public MouseMessage {
public:
    static constexpr int left = 1;
    static constexpr int right = 2;
    static constexpr int middle = 4;
    static constexpr int control_key = 1;
    static constexpr int shift_key = 2;

    // buttons: those held after the event (a release of the last one is 0).
    MouseClick(int px, int py, int held_buttons, int modifier_keys = 0, int double_clicked = 0)
        : MessageDown(Rect{px, py, px, py}), x(px), y(py), buttons(held_buttons),
          modifiers(modifier_keys), double_click(double_clicked) {}
    const int x;
    const int y;
    const int buttons;
    const int modifiers;
    const int double_click;
};

// mode 0 plain, 1 with the cursor hidden, 2 hidden with relative motion.
class MouseCapture : public MessageUp, public MouseMessage {
public:
    MouseCapture(MessageHandlerInterface& h, int capture_mode) : handler(&h), mode(capture_mode) {}
    MessageHandlerInterface* const handler;
    const int mode;
};

// (x, y): where the cursor reappears after a relative capture.
class MouseRelease : public MessageUp, public MouseMessage {
public:
    MouseRelease(MessageHandlerInterface& h, int px, int py) : handler(&h), x(px), y(py) {}
    MessageHandlerInterface* const handler;
    const int x;
    const int y;
};

class MouseCaptureLost : public MessageDown, public MouseMessage {
public:
    MouseCaptureLost() : MessageDown(Rect{}) {}
};

// Asks for a line editor over rect (window space) holding text.
class TextInputRequest : public MessageUp, public KeyboardMessage {
public:
    TextInputRequest(MessageHandlerInterface& r, std::string_view initial, const Rect& area)
        : requester(&r), text(initial), rect(area) {}
    MessageHandlerInterface* const requester;
    const std::string_view text;
    const Rect rect;
};

class TextInputStop : public MessageUp, public KeyboardMessage {
public:
    const int value = 0;
};

// accepted: ended by Enter or loss of focus (true) or by Escape (false).
class TextInputFinished : public MessageDown, public KeyboardMessage {
public:
    TextInputFinished(std::string_view edited, bool was_accepted)
        : MessageDown(Rect{}), text(edited), accepted(was_accepted) {}
    const std::string_view text;
    const bool accepted;
};

class KeyPressed : public MessageDown, public KeyboardMessage {
public:
    explicit KeyPressed(int key_code) : MessageDown(Rect{}), key(key_code) {}
    const int key;
};

} // namespace pengui
