#pragma once

#include <string>

namespace sys {

// [editor thread] Opens the URL in the user's web browser; may block briefly
// while the launcher starts. 0 on success, -1 (reported on the debugger
// output) when the browser cannot be started.
int open_url(const std::string& url);

} // namespace sys
