#pragma once

#include "mppi/HostGuiInterface.h"

#include <memory>

namespace pengui {
class WindowInterface;
}

namespace mppi {

class DspInterface;

// The editor side of a plug-in. Everything here runs on the editor thread;
// the audio thread never calls it.
class GuiInterface {
public:
    virtual ~GuiInterface() = default;
    // [editor thread] Calls the host's init_notice, then loads the skin;
    // throws the text "Load resources" on failure.
    virtual void load_resources() = 0;
    // [editor thread] Builds the editor's scene once; throws the text "Build
    // GUI" on failure.
    virtual void build() = 0;
    // [editor thread] Stops any running preset morph; called before destruction.
    virtual void stop() = 0;
    // [editor thread]
    virtual HostGuiInterface* get_host() = 0;
    // [editor thread] Takes ownership of the host services. A raw pointer, as
    // the plug-in contract fixes it for every host adapter; callers here hand
    // the owner over with the overload below.
    virtual void set_host(HostGuiInterface* host) = 0;
    // [editor thread] The same, the transfer of ownership in the type.
    void set_host(std::unique_ptr<HostGuiInterface> host) { set_host(host.release()); }
    // [editor thread]
    virtual DspInterface* get_dsp() = 0;
    // [editor thread] The DSP peer (not owned); its parameter count is read here.
    virtual void set_dsp(DspInterface* dsp) = 0;
    // [editor thread] Takes ownership of the window and destroys it with
    // itself. A raw pointer, as the contract fixes it: the window's type is the
    // toolkit's, which this layer does not see.
    virtual void set_window(pengui::WindowInterface* window) = 0;
    // [editor thread]
    virtual pengui::WindowInterface* get_window() = 0;
    // [editor thread] The editor's full size in pixels.
    virtual void get_size(int& width, int& height) = 0;
    // [editor thread] The visible size: the full width, and a height of 422
    // when a host is attached.
    virtual void get_view_size(int& width, int& height) = 0;
    // [editor thread] Opens the editor window inside the parent.
    virtual void open(void* parent) = 0;
    // [editor thread]
    virtual void close() = 0;
    // [editor thread] The control bound to parameter `index` shows
    // `normalized`, set from outside with that priority.
    virtual void param_changed(int index, float normalized, int priority) = 0;
    // [editor thread] Unused by this system; an editor ignores it.
    virtual void reserved(int a, int b) = 0;
    // [editor thread] Refreshes the tempo control from its parameter.
    virtual void tempo_changed() = 0;
};

} // namespace mppi
