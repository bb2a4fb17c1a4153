#pragma once

#include "host/dx/platform/com.h"

#include <string>

namespace host::dx {

// [editor thread] The full path of the file this module was loaded from; a
// failure is the system's error as an HRESULT.
HRESULT module_path(std::string& path);

} // namespace host::dx
