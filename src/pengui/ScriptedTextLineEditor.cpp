#include "pengui/ScriptedTextLineEditor.h"

#include "pengui/Messages.h"

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

} // namespace pengui
