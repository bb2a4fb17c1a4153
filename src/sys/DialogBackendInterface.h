#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sys {

// A file type filter: (description, pattern), e.g. ("Bank files", "*.pbk").
using FileFilter = std::pair<std::string, std::string>;

enum class FileDialogMode { open, save };

struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::open;
    std::string title;
    std::vector<FileFilter> filters;
    int selected_filter = 0;
    std::string initial_path;
};

struct FileDialogResult {
    enum class Status { chosen, cancelled, failed };
    Status status = Status::failed;
    std::string path;        // the chosen file, as the dialog returned it
    int selected_filter = 0; // the filter in use when the file was chosen
};

// Button sets of a message box, in the order callers number them.
enum class MessageBoxButtons { ok = 0, ok_cancel = 1, yes_no = 2 };

// The icon beside a message box's text: a plain notice, or an error.
enum class MessageBoxIcon { notice, error };

struct MessageBoxRequest {
    std::string title;
    std::string text;
    MessageBoxButtons buttons = MessageBoxButtons::ok;
    int default_button = 0; // 0 to 3 names a button; 4 or more: none
    MessageBoxIcon icon = MessageBoxIcon::notice;
};

enum class MessageBoxAnswer { ok, cancel, yes, no, failed };

// The platform's modal dialogs, behind one seam so that the file selector and
// the message box can be driven by a script in tests. The bookkeeping around
// a dialog (filter index, default extension, result codes) stays with the
// callers; a back end only shows the dialog and reports what the user did.
class DialogBackendInterface {
public:
    virtual ~DialogBackendInterface() = default;

    // [editor thread] Shows a modal file dialog; blocks until it is closed.
    virtual FileDialogResult run_file_dialog(const FileDialogRequest& request) = 0;

    // [editor thread] Shows a modal message box; blocks until it is answered.
    virtual MessageBoxAnswer run_message_box(const MessageBoxRequest& request) = 0;
};

// [editor thread] The back end the dialogs use: the one installed by
// set_dialog_backend, or the platform's own.
DialogBackendInterface& dialog_backend();

// [editor thread] Installs a back end (not owned; null restores the
// platform's own) and returns the one installed before, null for the default.
DialogBackendInterface* set_dialog_backend(DialogBackendInterface* backend);

// The platform's own back end, defined by each platform layer.
DialogBackendInterface& platform_dialog_backend();

} // namespace sys
