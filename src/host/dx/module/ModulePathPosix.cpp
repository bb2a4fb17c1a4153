#include "host/dx/module/ModulePath.h"

#include <dlfcn.h>

namespace host::dx {

HRESULT module_path(std::string& path) {
    Dl_info info{};
    // Any address inside this module names it.
    if (dladdr(reinterpret_cast<void*>(&module_path), &info) == 0 || info.dli_fname == nullptr) {
        return E_FAIL;
    }
    path = info.dli_fname;
    return S_OK;
}

} // namespace host::dx
