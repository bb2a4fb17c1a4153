#pragma once

#include <cstddef>

namespace sys {

// One embedded resource: the bytes of a file listed in resources/resources.txt.
struct ResourceEntry {
    const char* type;
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

struct ResourceTable {
    const ResourceEntry* entries;
    std::size_t count;
};

// [any thread] The module's resources, in manifest order; the table is
// generated at build time (cmake/EmbedResources.cmake).
ResourceTable resource_table();

} // namespace sys
