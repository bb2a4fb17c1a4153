#include "sys/Resource.h"

#include "sys/DebugOutput.h"
#include "sys/win32/ThisModule.h"

#include <windows.h>

namespace sys {

const void* get_ressource(const std::string& type, const std::string& name, std::size_t* size) {
    const HMODULE module = this_module();
    HRSRC found = FindResourceA(module, name.c_str(), type.c_str());
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (size != nullptr) {
        *size = data != nullptr ? SizeofResource(module, found) : 0;
    }
    if (data == nullptr) {
        debug_output("sys::get_ressource: Error: couldn't load ressource.\n");
    }
    return data;
}

} // namespace sys
