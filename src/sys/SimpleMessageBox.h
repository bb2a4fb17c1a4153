#pragma once

#include "sys/DialogBackendInterface.h"

#include <string>

namespace sys {

// A modal message box with a fixed button set and no owner window.
class SimpleMessageBox {
public:
    virtual ~SimpleMessageBox() = default;

    // [editor thread] Modal. buttons: 0 OK, 1 OK and Cancel, 2 Yes and No;
    // default_button 0 to 3 names the default button, 4 or more none.
    // Returns 0 for OK or Yes, 1 for Cancel or No, -1 when the box could not
    // be shown or gave any other answer. An error is shown with the
    // system's error icon.
    int show(const std::string& title, const std::string& text, int buttons, int default_button,
             MessageBoxIcon icon = MessageBoxIcon::notice);
};

} // namespace sys
