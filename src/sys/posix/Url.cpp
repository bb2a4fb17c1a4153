#include "sys/Url.h"

#include "sys/DebugOutput.h"
#include "sys/UserMessage.h"
#include "sys/posix/Process.h"

#include <cerrno>

namespace sys {

int open_url(const std::string& url) {
    // xdg-open hands the URL to the desktop's browser and returns.
    const ProcessResult launch = run_process({"xdg-open", url}, false);
    if (launch.start_error == ENOENT) {
        tell_user("the web page " + url +
                  " opens with xdg-open, which is not installed (Debian "
                  "package xdg-utils)");
    }
    if (!launch.started || launch.exit_status != 0) {
        debug_output("sys::open_url: Error: couldn't open html browser.\n");
        return -1;
    }
    return 0;
}

} // namespace sys
