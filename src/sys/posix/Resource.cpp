#include "sys/Resource.h"

#include "sys/DebugOutput.h"
#include "sys/posix/ResourceTable.h"

#include <cctype>

namespace sys {

namespace {
// Resource types and names match regardless of ASCII case, as module
// resource lookups do on Windows.
bool same_name(const std::string& wanted, const char* stored) {
    std::size_t i = 0;
    for (; i < wanted.size() && stored[i] != '\0'; ++i) {
        if (std::toupper(static_cast<unsigned char>(wanted[i])) !=
            std::toupper(static_cast<unsigned char>(stored[i]))) {
            return false;
        }
    }
    return i == wanted.size() && stored[i] == '\0';
}
} // namespace

const void* get_ressource(const std::string& type, const std::string& name, std::size_t* size) {
    const ResourceTable table = resource_table();
    for (std::size_t i = 0; i < table.count; ++i) {
        const ResourceEntry& entry = table.entries[i];
        if (same_name(type, entry.type) && same_name(name, entry.name)) {
            if (size != nullptr) {
                *size = entry.size;
            }
            return entry.data;
        }
    }
    if (size != nullptr) {
        *size = 0;
    }
    debug_output("sys::get_ressource: Error: couldn't load ressource.\n");
    return nullptr;
}

} // namespace sys
