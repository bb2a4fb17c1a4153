#pragma once

#include "host/dx/ISfPlugInProp.h"
#include "host/dx/IStaticFilterPreset.h"
#include "host/dx/platform/com.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace mppi {
class DspInterface;
class HostGuiInterface;
class GuiInterface;
class ProgramSlot;
} // namespace mppi
namespace pengui {
class WindowInterface;
}

// An internal failure: the module or COM did not do what it must; exit 1.
struct InternalError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The plug-in module loaded as a DirectShow host loads it (dlopen and its
// class factory), and one Quevrin filter created from it with the interfaces
// the host uses. Only COM and the plug-in's own abstract interfaces cross.
class PluginModule {
public:
    // Loads the module at `path`; throws InternalError when it cannot.
    explicit PluginModule(const std::string& path);
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;
    // Releases the filter and unloads the module.
    ~PluginModule();

    IBaseFilter* filter() { return filter_; }
    IPin* input() { return input_; }
    IPin* output() { return output_; }

    std::vector<std::string> preset_names();
    void select_preset(int index);
    // Applies a program as the host applies presets.
    void apply_program(const mppi::ProgramSlot& program);
    // The persisted state: false when `bytes` is not one the filter takes.
    bool load_state(const std::vector<unsigned char>& bytes);
    std::vector<unsigned char> save_state();

    mppi::DspInterface& dsp();
    // The editor side's host services: the one path of a parameter change.
    mppi::HostGuiInterface& host_gui();
    // The editor and its window, as the property page reaches them.
    mppi::GuiInterface& editor();
    pengui::WindowInterface& editor_window();

private:
    void* library_ = nullptr;
    HRESULT(STDMETHODCALLTYPE* can_unload_)() = nullptr;
    IBaseFilter* filter_ = nullptr;
    IPin* input_ = nullptr;
    IPin* output_ = nullptr;
    host::dx::ISfPlugInProp* prop_ = nullptr;
    IPersistStream* persist_ = nullptr;
    host::dx::IStaticFilterPreset* presets_ = nullptr;
};

// The file `name` among this program's modules, found from the program's own
// place: beside it (the build tree's bin/), else in the installed tree's
// module folder (QUEVRIN_MODULE_DIR from the program's folder). Neither
// there: the installed one, so that an error names where it belongs.
std::string module_file(const std::string& name);
