#include "editor/ValueBoxListeners.h"

#include "editor/NumericParamMgr.h"

namespace editor {

void NumValTbListener::action(int kind, int) {
    if (kind == action_edited && manager_ != nullptr) {
        manager_->apply_text(target_);
    }
}

} // namespace editor
