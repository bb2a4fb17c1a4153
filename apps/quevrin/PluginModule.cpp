#include "PluginModule.h"

#include "host/dx/QuevrinIds.h"
#include "host/dx/platform/MemoryStream.h"
#include "mppi/GuiInterface.h"
#include "mppi/HostGuiInterface.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace {

template <typename T>
T* query(IUnknown* object, REFIID iid) {
    T* result = nullptr;
    if (FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&result))) || !result)
        throw InternalError("the filter lacks one of its interfaces");
    return result;
}

template <typename T>
void release(T*& object) {
    if (object != nullptr)
        object->Release();
    object = nullptr;
}

std::string narrow(const WCHAR* text) {
    char buffer[512];
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return n > 0 ? std::string(buffer) : std::string();
}

} // namespace

std::string module_file(const std::string& name) {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return name;
    std::string dir(self, std::size_t(n));
    dir.erase(dir.find_last_of('/'));
    std::string beside = dir + '/' + name;
    if (access(beside.c_str(), F_OK) == 0)
        return beside;
    std::string relative = QUEVRIN_MODULE_DIR;
    while (relative.compare(0, 3, "../") == 0 && !dir.empty()) {
        dir.erase(dir.find_last_of('/'));
        relative.erase(0, 3);
    }
    return dir + '/' + relative + '/' + name;
}

PluginModule::PluginModule(const std::string& path) {
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr)
        throw InternalError("cannot load the plug-in module " + path + ": " + dlerror());
    using GetClassObject = HRESULT(STDMETHODCALLTYPE*)(REFCLSID, REFIID, void**);
    const auto get_class_object =
        reinterpret_cast<GetClassObject>(dlsym(library_, "DllGetClassObject"));
    can_unload_ =
        reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)()>(dlsym(library_, "DllCanUnloadNow"));
    if (get_class_object == nullptr || can_unload_ == nullptr)
        throw InternalError(path + " is not a Quevrin module");

    IClassFactory* factory = nullptr;
    if (FAILED(get_class_object(host::dx::CLSID_Quevrin, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory))))
        throw InternalError(path + " does not make the Quevrin filter");
    const HRESULT hr =
        factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter_));
    factory->Release();
    if (FAILED(hr) || filter_ == nullptr)
        throw InternalError("the Quevrin filter could not be created");
    if (filter_->FindPin(WIDE_TEXT("In"), &input_) != S_OK ||
        filter_->FindPin(WIDE_TEXT("Output"), &output_) != S_OK)
        throw InternalError("the Quevrin filter lacks its pins");
    prop_ = query<host::dx::ISfPlugInProp>(filter_, host::dx::IID_ISfPlugInProp);
    persist_ = query<IPersistStream>(filter_, IID_IPersistStream);
    presets_ = query<host::dx::IStaticFilterPreset>(filter_, host::dx::IID_IStaticFilterPreset);
}

PluginModule::~PluginModule() {
    release(input_);
    release(output_);
    release(prop_);
    release(persist_);
    release(presets_);
    release(filter_);
    if (library_ != nullptr && can_unload_ != nullptr && can_unload_() == S_OK)
        dlclose(library_);
}

std::vector<std::string> PluginModule::preset_names() {
    LONG count = 0;
    presets_->GetPresetCount(&count);
    std::vector<std::string> names;
    for (LONG i = 0; i < count; ++i) {
        WCHAR name[256] = {};
        if (FAILED(presets_->GetPresetName(i, name, 256)))
            throw InternalError("the filter cannot name its preset " + std::to_string(i));
        names.push_back(narrow(name));
    }
    return names;
}

void PluginModule::select_preset(int index) {
    if (FAILED(presets_->SetPreset(index)))
        throw InternalError("the filter refused its preset " + std::to_string(index));
}

void PluginModule::apply_program(const mppi::ProgramSlot& program) {
    host_gui().set_prog(program, 200);
}

bool PluginModule::load_state(const std::vector<unsigned char>& bytes) {
    dshow::MemoryStream stream(std::vector<BYTE>(bytes.begin(), bytes.end()));
    return persist_->Load(&stream) == S_OK;
}

std::vector<unsigned char> PluginModule::save_state() {
    dshow::MemoryStream stream;
    if (persist_->Save(&stream, TRUE) != S_OK)
        throw InternalError("the filter could not save its state");
    return std::vector<unsigned char>(stream.bytes().begin(), stream.bytes().end());
}

mppi::DspInterface& PluginModule::dsp() {
    mppi::DspInterface* dsp = prop_->GetDsp();
    if (dsp == nullptr)
        throw InternalError("the filter has no DSP");
    return *dsp;
}

mppi::HostGuiInterface& PluginModule::host_gui() {
    mppi::GuiInterface* gui = prop_->GetGui();
    if (gui == nullptr || gui->get_host() == nullptr)
        throw InternalError("the filter has no editor side");
    return *gui->get_host();
}

mppi::GuiInterface& PluginModule::editor() {
    mppi::GuiInterface* gui = prop_->GetGui();
    if (gui == nullptr)
        throw InternalError("the filter has no editor");
    return *gui;
}

pengui::WindowInterface& PluginModule::editor_window() {
    pengui::WindowInterface* window = prop_->GetEditorWindow();
    if (window == nullptr)
        throw InternalError("the filter has no editor window");
    return *window;
}
