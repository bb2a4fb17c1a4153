#include "sys/win32/DialogBackendWin32.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace sys {

namespace {

// The dialog's file buffer: the current path in, the chosen file out.
constexpr std::size_t file_buffer_size = 1024;

// The structure size of the version-4 dialog, which every system accepts:
// 76 bytes in a 32-bit module, its 64-bit layout's size in a 64-bit one.
const DWORD open_file_name_size = OPENFILENAME_SIZE_VERSION_400A;

// "description\0pattern\0" for each filter, then one more zero byte.
std::string filter_list(const std::vector<FileFilter>& filters) {
    std::string list;
    for (const FileFilter& filter : filters) {
        list += filter.first;
        list += '\0';
        list += filter.second;
        list += '\0';
    }
    list += '\0';
    return list;
}

// The folder part of a path: everything before its last backslash.
std::string folder_of(const std::string& path) {
    const std::size_t backslash = path.rfind('\\');
    return backslash == std::string::npos ? std::string() : path.substr(0, backslash);
}

UINT message_box_flags(const MessageBoxRequest& request) {
    UINT flags = MB_SETFOREGROUND;
    if (request.icon == MessageBoxIcon::error) {
        flags |= MB_ICONERROR;
    }
    switch (request.buttons) {
    case MessageBoxButtons::ok:
        flags |= MB_OK;
        break;
    case MessageBoxButtons::ok_cancel:
        flags |= MB_OKCANCEL;
        break;
    case MessageBoxButtons::yes_no:
        flags |= MB_YESNO;
        break;
    }
    static constexpr UINT default_flags[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3,
                                             MB_DEFBUTTON4};
    if (request.default_button >= 0 && request.default_button < 4) {
        flags |= default_flags[request.default_button];
    }
    return flags;
}

} // namespace

FileDialogResult DialogBackendWin32::run_file_dialog(const FileDialogRequest& request) {
    const std::string filters = filter_list(request.filters);
    const std::string folder = folder_of(request.initial_path);
    char file[file_buffer_size] = {};
    const std::size_t copied = std::min(request.initial_path.size(), file_buffer_size - 1);
    std::memcpy(file, request.initial_path.data(), copied);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = open_file_name_size;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.selected_filter + 1);
    dialog.lpstrFile = file;
    dialog.nMaxFile = file_buffer_size - 1;
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_LONGNAMES | OFN_ENABLESIZING;

    const BOOL chosen = request.mode == FileDialogMode::open ? GetOpenFileNameA(&dialog)
                                                             : GetSaveFileNameA(&dialog);
    FileDialogResult result;
    if (!chosen) {
        // No extended error: the user closed the dialog without a file.
        result.status = CommDlgExtendedError() == 0 ? FileDialogResult::Status::cancelled
                                                    : FileDialogResult::Status::failed;
        return result;
    }
    result.status = FileDialogResult::Status::chosen;
    result.path = file;
    result.selected_filter = static_cast<int>(dialog.nFilterIndex) - 1;
    return result;
}

MessageBoxAnswer DialogBackendWin32::run_message_box(const MessageBoxRequest& request) {
    switch (MessageBoxA(nullptr, request.text.c_str(), request.title.c_str(),
                        message_box_flags(request))) {
    case IDOK:
        return MessageBoxAnswer::ok;
    case IDCANCEL:
        return MessageBoxAnswer::cancel;
    case IDYES:
        return MessageBoxAnswer::yes;
    case IDNO:
        return MessageBoxAnswer::no;
    default:
        return MessageBoxAnswer::failed;
    }
}

DialogBackendInterface& platform_dialog_backend() {
    static DialogBackendWin32 backend;
    return backend;
}

} // namespace sys
