// The editor inside the filter's property page, driven from outside through
// the X server by tests/wine/page.sh.
#pragma once

#include <string>

// [main thread] Shows the page, with static preset `preset` first when it is
// 0 or more, in a frame at the screen's top-left; DIR/ready gives the editor
// window's screen origin and the points the driver uses. Runs the messages
// until DIR/done appears, then closes the page and checks what the driver did:
// mode "input" (knob drags and typed values, read back through IPersistStream)
// or "morph" (a timed program change, watched while it runs); in mode "look"
// the driver only looks. The page's frame and the editor take the size the
// page reports.
void check_page_editor(const std::string& dir, const std::string& mode, int preset);
