#pragma once

#include <cstddef>
#include <string>

namespace sys {

// [any thread] The read-only bytes of the module resource of the given type
// and name; they stay valid while the module is loaded and are never copied.
// When size is given it receives the resource's length in bytes. A missing
// resource returns null, sets *size to 0 and is reported on the debugger output.
const void* get_ressource(const std::string& type, const std::string& name,
                          std::size_t* size = nullptr);

} // namespace sys
