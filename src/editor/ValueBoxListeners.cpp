#include "editor/ValueBoxListeners.h"

#include "editor/NumericParamMgr.h"

void NumValTbListener::action(int kind, int) {
    if (kind == action_edited && manager_ != nullptr) {
        manager_->apply_text(target_);
    }
}
