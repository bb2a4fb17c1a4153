#pragma once

#include "pengui/ControlInterface.h"
#include "pengui/TextStyle.h"

#include <string>

namespace pengui {

class FontInterface;

// One line of text in a bitmap font; when editable, a press opens the
// window's line editor over the box and an accepted edit becomes the text
// (the listener hears action 1).
class TextBox : public ControlInterface {
public:
    // [editor thread] Not owned; without a font nothing draws.
    void set_font(const FontInterface* font) { font_ = font; }
    // [editor thread] The text area's top-left lies at the control's
    // position minus the anchor.
    void set_text_anchor(int x, int y) {
        anchor_x_ = x;
        anchor_y_ = y;
    }
    void set_editable(bool editable) { editable_ = editable; }
    bool editing() const { return editing_; }
    // [editor thread] These four repaint the box.
    void set_box_size(int width, int height);
    void set_alignment(int alignment);
    void set_colour(std::uint32_t colour);
    void set_text(const std::string& text);
    // [editor thread]
    const std::string& text() const { return style_.text(); }

    void cancel() override;
    int on_redraw(const Redraw& message) override;
    int on_click(const MouseClick& message) override;
    int on_text_input_finished(const TextInputFinished& message) override;

private:
    int anchor_x_ = 0;
    int anchor_y_ = 0;
    TextStyle style_;
    const FontInterface* font_ = nullptr;
    bool editable_ = false;
    bool editing_ = false;
};

} // namespace pengui
