#include "pengui/ScriptedTextLineEditor.h"

#include "pengui/Messages.h"
#include "pengui/WindowInterface.h"

namespace pengui {

int ScriptedTextLineEditor::start(const TextInputRequest& request) {
    if (refuse_) {
        return -1;
    }
    area_ = request.rect;
    ++starts_;
    set_active(true);
    return 0;
}

int ScriptedTextLineEditor::stop() {
    const bool was_active = active();
    set_active(false);
    return was_active ? 0 : -1;
}

void ScriptedTextLineEditor::end(bool accepted) {
    if (!active()) {
        return;
    }
    set_accepted(accepted);
    stop();
    if (window() != nullptr) {
        window()->finish_text_input();
    }
}

} // namespace pengui
