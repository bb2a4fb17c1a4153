#include "host/dx/HostGuiDx.h"

#include "host/dx/CAudioTransform.h"
#include "pengui/WindowInterface.h"

namespace host::dx {

bool HostGuiDx::may_change_param(int index, int priority) {
    return core_->may_change_param(index, priority);
}

void HostGuiDx::release_param(int index, int priority) {
    core_->release_param(index, priority);
}

bool HostGuiDx::set_param(int index, float normalized, int priority) {
    return core_->set_param(index, normalized, priority);
}

void HostGuiDx::set_prog(const mppi::ProgramSlot& program, int priority) {
    core_->apply_program(program, priority);
}

int HostGuiDx::resize_window(int width, int height) {
    if (pengui::WindowInterface* window = core_->GetEditorWindow()) {
        window->set_window_size(width, height);
    }
    return 0;
}

} // namespace host::dx
