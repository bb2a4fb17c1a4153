#include "pengui/TextBox.h"

#include "pengui/EventListenerInterface.h"
#include "pengui/Messages.h"

namespace pengui {

void TextBox::set_box_size(int width, int height) {
    style_.set_box_size(width, height);
    invalidate();
}

void TextBox::set_alignment(int alignment) {
    style_.set_alignment(alignment);
    invalidate();
}

void TextBox::set_colour(std::uint32_t colour) {
    style_.set_colour(colour);
    invalidate();
}

void TextBox::set_text(const std::string& text) {
    style_.set_text(text);
    invalidate();
}

void TextBox::cancel() {
    if (editing_) {
        handle(TextInputStop());
    }
}

int TextBox::on_redraw(const Redraw& message) {
    if (font_ != nullptr) {
        const Rect r = local(message.rect);
        style_.draw(*font_,
                    clamped_rect(std::int64_t{r.x0} + anchor_x_, std::int64_t{r.y0} + anchor_y_,
                                 std::int64_t{r.x1} + anchor_x_, std::int64_t{r.y1} + anchor_y_),
                    *message.buffer);
    }
    return 0;
}

int TextBox::on_click(const MouseClick& message) {
    if (message.buttons == 0 || !editable_ || editing_ || !enabled()) {
        return 0;
    }
    cancel();
    const std::int64_t left = std::int64_t{absolute_x()} - anchor_x_;
    const std::int64_t top = std::int64_t{absolute_y()} - anchor_y_;
    const Rect area = clamped_rect(left, top, left + style_.width(), top + style_.height());
    editing_ = handle(TextInputRequest(*this, style_.text(), area)) == 0;
    return 0;
}

int TextBox::on_text_input_finished(const TextInputFinished& message) {
    const bool commit = editing_ && message.accepted;
    editing_ = false;
    if (commit) {
        style_.set_text(std::string(message.text));
        if (listener() != nullptr) {
            listener()->action(EventListenerInterface::action_edited, 0);
        }
        invalidate();
    }
    return 0;
}

} // namespace pengui
