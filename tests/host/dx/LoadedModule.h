// quevrin.so as a host sees it: loaded with dlopen (path from the build,
// QUEVRIN_MODULE_PATH), reached only through its four exports and COM.
#pragma once

#include "host/dx/ISfPlugInProp.h"
#include "host/dx/IStaticFilterPreset.h"
#include "host/dx/QuevrinIds.h"

#include <string>

class LoadedModule {
public:
    // [editor thread] Loaded once per process and never unloaded.
    static LoadedModule& get();

    HRESULT (*get_class_object)(REFCLSID, REFIID, LPVOID*) = nullptr;
    HRESULT (*can_unload_now)() = nullptr;
    HRESULT (*register_server)() = nullptr;
    HRESULT (*unregister_server)() = nullptr;
    std::string path;

    // A new filter through the class factory, with one reference; null on failure.
    IBaseFilter* create_filter();

private:
    LoadedModule();
};

// The interface riid of an object, with a reference; null when it has none.
template <typename I>
I* query(IUnknown* object, REFIID riid) {
    void* p = nullptr;
    return SUCCEEDED(object->QueryInterface(riid, &p)) ? static_cast<I*>(p) : nullptr;
}
