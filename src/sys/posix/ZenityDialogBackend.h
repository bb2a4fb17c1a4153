#pragma once

#include "sys/DialogBackendInterface.h"

#include <string>
#include <vector>

namespace sys {

// The POSIX dialogs: zenity, started without a shell, on the user's display.
// Without zenity or without a display no dialog can be shown and every call
// reports a failure.
class ZenityDialogBackend : public DialogBackendInterface {
public:
    // timeout_seconds > 0 closes a message box left unanswered that long
    // (counted as a failure); 0 waits for the user. zenity's file selection
    // has no timeout.
    explicit ZenityDialogBackend(int timeout_seconds = 0) : timeout_seconds(timeout_seconds) {}

    FileDialogResult run_file_dialog(const FileDialogRequest& request) override;
    MessageBoxAnswer run_message_box(const MessageBoxRequest& request) override;

private:
    int timeout_seconds;
};

} // namespace sys
