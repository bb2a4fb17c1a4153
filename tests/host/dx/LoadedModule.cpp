#include "LoadedModule.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

template <typename F>
void bind(void* module, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(module, name));
    if (function == nullptr) {
        std::fprintf(stderr, "quevrin.so lacks %s\n", name);
        std::abort();
    }
}

} // namespace

LoadedModule& LoadedModule::get() {
    static LoadedModule module;
    return module;
}

LoadedModule::LoadedModule() : path(QUEVRIN_MODULE_PATH) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), dlerror());
        std::abort();
    }
    bind(module, "DllGetClassObject", get_class_object);
    bind(module, "DllCanUnloadNow", can_unload_now);
    bind(module, "DllRegisterServer", register_server);
    bind(module, "DllUnregisterServer", unregister_server);
}

IBaseFilter* LoadedModule::create_filter() {
    IClassFactory* factory = nullptr;
    if (FAILED(get_class_object(host::dx::CLSID_Quevrin, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory)))) {
        return nullptr;
    }
    IBaseFilter* filter = nullptr;
    factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    factory->Release();
    return filter;
}
