#pragma once

#include <windows.h>

namespace sys {

// [any thread] The module this code is linked into (the plug-in), not the
// host's program: where its resources, dialogs and window classes live.
HMODULE this_module();

} // namespace sys
