#include "sys/Url.h"

#include "sys/DebugOutput.h"
#include "sys/posix/Process.h"

namespace sys {

int open_url(const std::string& url) {
    // xdg-open hands the URL to the desktop's browser and returns.
    const ProcessResult launch = run_process({"xdg-open", url}, false);
    if (!launch.started || launch.exit_status != 0) {
        debug_output("sys::open_url: Error: couldn't open html browser.\n");
        return -1;
    }
    return 0;
}

} // namespace sys
