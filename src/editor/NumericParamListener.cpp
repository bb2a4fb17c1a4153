#include "editor/NumericParamListener.h"

#include "editor/NumericParamMgr.h"
#include "mppi/NormalizedParamInterface.h"

namespace editor {

void NumValListenerInterface::focus_gained() {
    if (manager_ != nullptr) {
        manager_->show();
    }
}

double NumValListenerInterface::map_value_for_storing(double value, int) {
    if (manager_ != nullptr && get_param() != nullptr) {
        manager_->set_value_text(
            get_param()->to_text(get_param()->to_internal(static_cast<float>(value))));
    }
    return value;
}

} // namespace editor
