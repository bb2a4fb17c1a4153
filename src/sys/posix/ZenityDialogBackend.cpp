#include "sys/posix/ZenityDialogBackend.h"

#include "sys/UserMessage.h"
#include "sys/posix/Process.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace sys {

namespace {
// zenity's exit status when the user cancels or closes the dialog.
constexpr int zenity_cancelled = 1;

bool display_available() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') {
            return true;
        }
    }
    return false;
}

// Runs zenity; without it the user learns what is missing, not only that
// nothing happened.
ProcessResult run_zenity(const std::vector<std::string>& arguments, bool capture_output) {
    ProcessResult result = run_process(arguments, capture_output);
    if (result.start_error == ENOENT) {
        tell_user("the editor shows its file dialogs and message boxes with zenity, which is not "
                  "installed (Debian package zenity)");
    }
    return result;
}

// zenity separates the patterns of one filter by spaces, Windows by ';'.
std::string file_filter_argument(const FileFilter& filter) {
    std::string patterns = filter.second;
    std::replace(patterns.begin(), patterns.end(), ';', ' ');
    return "--file-filter=" + filter.first + " | " + patterns;
}
} // namespace

FileDialogResult ZenityDialogBackend::run_file_dialog(const FileDialogRequest& request) {
    FileDialogResult result;
    if (!display_available()) {
        return result;
    }
    std::vector<std::string> arguments{"zenity", "--file-selection", "--title=" + request.title};
    if (request.mode == FileDialogMode::save) {
        arguments.emplace_back("--save");
    }
    if (!request.initial_path.empty()) {
        arguments.push_back("--filename=" + request.initial_path);
    }
    // zenity starts on its first filter and does not tell which one the user
    // ended on, so the selected filter goes first and stays the selection.
    const int count = static_cast<int>(request.filters.size());
    const bool selected_valid = request.selected_filter >= 0 && request.selected_filter < count;
    if (selected_valid) {
        arguments.push_back(file_filter_argument(request.filters[request.selected_filter]));
    }
    for (int i = 0; i < count; ++i) {
        if (!selected_valid || i != request.selected_filter) {
            arguments.push_back(file_filter_argument(request.filters[i]));
        }
    }

    const ProcessResult dialog = run_zenity(arguments, true);
    if (!dialog.started) {
        return result;
    }
    if (dialog.exit_status == zenity_cancelled) {
        result.status = FileDialogResult::Status::cancelled;
        return result;
    }
    std::string path = dialog.output;
    if (!path.empty() && path.back() == '\n') {
        path.pop_back();
    }
    if (dialog.exit_status == 0 && !path.empty()) {
        result.status = FileDialogResult::Status::chosen;
        result.path = path;
        result.selected_filter = request.selected_filter;
    }
    return result;
}

MessageBoxAnswer ZenityDialogBackend::run_message_box(const MessageBoxRequest& request) {
    if (!display_available()) {
        return MessageBoxAnswer::failed;
    }
    const bool single_button = request.buttons == MessageBoxButtons::ok;
    const char* kind = !single_button                          ? "--question"
                       : request.icon == MessageBoxIcon::error ? "--error"
                                                               : "--info";
    std::vector<std::string> arguments{"zenity", kind, "--title=" + request.title,
                                       "--text=" + request.text, "--no-markup"};
    if (timeout_seconds > 0) {
        arguments.push_back("--timeout=" + std::to_string(timeout_seconds));
    }
    MessageBoxAnswer accept = MessageBoxAnswer::ok;
    MessageBoxAnswer reject = MessageBoxAnswer::ok; // closing a lone OK box is an OK
    if (request.buttons == MessageBoxButtons::ok_cancel) {
        reject = MessageBoxAnswer::cancel;
        arguments.insert(arguments.end(), {"--ok-label=OK", "--cancel-label=Cancel"});
    } else if (request.buttons == MessageBoxButtons::yes_no) {
        accept = MessageBoxAnswer::yes;
        reject = MessageBoxAnswer::no;
        arguments.insert(arguments.end(), {"--ok-label=Yes", "--cancel-label=No"});
    } else {
        arguments.emplace_back("--ok-label=OK");
    }
    if (!single_button && request.default_button == 1) {
        arguments.emplace_back("--default-cancel");
    }

    const ProcessResult box = run_zenity(arguments, false);
    if (!box.started) {
        return MessageBoxAnswer::failed;
    }
    if (box.exit_status == 0) {
        return accept;
    }
    return box.exit_status == zenity_cancelled ? reject : MessageBoxAnswer::failed;
}

DialogBackendInterface& platform_dialog_backend() {
    static ZenityDialogBackend backend;
    return backend;
}

} // namespace sys
