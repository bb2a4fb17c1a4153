#include "sys/SimpleMessageBox.h"

#include "sys/DialogBackendInterface.h"

namespace sys {

namespace {
// The answer's result, or -1 when the answer is not one of the set's buttons.
int result_of(MessageBoxButtons buttons, MessageBoxAnswer answer) {
    switch (buttons) {
    case MessageBoxButtons::ok:
        return answer == MessageBoxAnswer::ok ? 0 : -1;
    case MessageBoxButtons::ok_cancel:
        return answer == MessageBoxAnswer::ok ? 0 : answer == MessageBoxAnswer::cancel ? 1 : -1;
    case MessageBoxButtons::yes_no:
        return answer == MessageBoxAnswer::yes ? 0 : answer == MessageBoxAnswer::no ? 1 : -1;
    }
    return -1;
}
} // namespace

int SimpleMessageBox::show(const std::string& title, const std::string& text, int buttons,
                           int default_button, MessageBoxIcon icon) {
    if (buttons < 0 || buttons > 2) {
        return -1;
    }
    MessageBoxRequest request;
    request.title = title;
    request.text = text;
    request.buttons = static_cast<MessageBoxButtons>(buttons);
    request.default_button = default_button;
    request.icon = icon;
    try {
        return result_of(request.buttons, dialog_backend().run_message_box(request));
    } catch (...) {
        return -1;
    }
}

} // namespace sys
