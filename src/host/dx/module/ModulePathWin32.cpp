#include "host/dx/module/ModulePath.h"

namespace host::dx {

HRESULT module_path(std::string& path) {
    HMODULE module = nullptr;
    // Any address inside this module names it.
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&module_path), &module)) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    if (length == 0 || length == MAX_PATH) {
        return HRESULT_FROM_WIN32(length == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER);
    }
    path.assign(buffer, length);
    return S_OK;
}

} // namespace host::dx
