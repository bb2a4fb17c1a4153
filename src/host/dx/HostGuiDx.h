#pragma once

#include "mppi/HostGuiInterface.h"

namespace host::dx {

class CAudioTransform;

// What the filter offers the GUI side of the plug-in core: parameter changes
// under write priorities and whole programs. Owned by the GUI.
class HostGuiDx : public mppi::HostGuiInterface {
public:
    explicit HostGuiDx(CAudioTransform* core) : core_(core) {}

    // [editor thread] Does nothing.
    void init_notice() override {}
    // [editor thread] 0.0 for every key: the window is not resized to its content.
    double get_num_property(const char*) override { return 0.0; }
    // [editor thread] The parameter's priority check now, without claiming it.
    bool may_change_param(int index, int priority) override;
    // [editor thread] Gives up the claim of that priority on the parameter.
    void release_param(int index, int priority) override;
    // [editor thread] Claims the parameter and sets it; false when refused.
    bool set_param(int index, float normalized, int priority) override;
    // [editor thread] Applies a whole program with that priority.
    void set_prog(const mppi::ProgramSlot& program, int priority) override;
    // [editor thread] Resizes the editor window object (when there is one);
    // returns 0.
    int resize_window(int width, int height) override;

private:
    CAudioTransform* const core_;
};

} // namespace host::dx
