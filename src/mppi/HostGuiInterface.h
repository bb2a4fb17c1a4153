#pragma once

namespace mppi {

class ProgramSlot;

// What a host offers the GUI side of a plug-in. Every change the editor makes
// to a parameter goes through here, with the writer's priority.
class HostGuiInterface {
public:
    virtual ~HostGuiInterface() = default;
    // [editor thread] Called at the start of the GUI's load_resources.
    virtual void init_notice() = 0;
    // [editor thread] A capability of the host; 0.0 means no.
    virtual double get_num_property(const char* key) = 0;
    // [editor thread] Whether a writer of that priority may change the
    // parameter now, without claiming it.
    virtual bool may_change_param(int index, int priority) = 0;
    // [editor thread] The writer of that priority gives up its claim.
    virtual void release_param(int index, int priority) = 0;
    // [editor thread] The only way the GUI changes a parameter; false when
    // refused by priority.
    virtual bool set_param(int index, float normalized, int priority) = 0;
    // [editor thread] Applies a whole program.
    virtual void set_prog(const ProgramSlot& program, int priority) = 0;
    // [editor thread] Resizes the editor window; 0 on success.
    virtual int resize_window(int width, int height) = 0;
};

} // namespace mppi
