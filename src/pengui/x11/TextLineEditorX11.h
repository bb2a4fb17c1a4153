#pragma once

#include "pengui/Rect.h"
#include "pengui/TextLineEditorInterface.h"
#include "pengui/x11/EventTargetX11.h"

#include <cstddef>
#include <memory>

namespace pengui {

class EventLoopX11;
class MemoryRenderingBuffer;

// The popup line editor of an X11 window: a child window over the box's
// rectangle that takes the keyboard focus and draws the text centred in the
// window's own bitmap font, black on white, the selection inverted and a
// caret. The text starts selected; typing replaces the selection, Backspace
// and Delete erase, the arrows, Home and End move the caret. Enter and loss
// of focus accept, Escape cancels. Bytes are Latin-1, at most max_text.
class TextLineEditorX11 : public TextLineEditorInterface, public EventTargetX11 {
public:
    // [editor thread]
    explicit TextLineEditorX11(EventLoopX11& loop);
    ~TextLineEditorX11() override;

    // [editor thread] Over request.rect of the owning window; -1 when that
    // window is closed or the rectangle is empty.
    int start(const TextInputRequest& request) override;
    int stop() override;

    // [editor thread] The popup, 0 when none; caret and selection (bytes).
    unsigned long native() const { return popup_; }
    std::size_t caret() const { return caret_; }
    std::size_t anchor() const { return anchor_; }

    void handle_event(const _XEvent& event) override;

private:
    void key(const _XEvent& event);
    // Replaces the selection with text (cut to the room left).
    void replace_selection(const char* text, std::size_t length);
    void draw();

    EventLoopX11& loop_;
    unsigned long popup_ = 0;
    std::unique_ptr<MemoryRenderingBuffer> canvas_;
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0; // the selection runs from anchor to caret
};

} // namespace pengui
