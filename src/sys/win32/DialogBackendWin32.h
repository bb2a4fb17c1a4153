#pragma once

#include "sys/DialogBackendInterface.h"

namespace sys {

// The Win32 dialogs: the common file dialogs (GetOpenFileNameA,
// GetSaveFileNameA) and MessageBoxA, owned by no window.
class DialogBackendWin32 : public DialogBackendInterface {
public:
    FileDialogResult run_file_dialog(const FileDialogRequest& request) override;
    MessageBoxAnswer run_message_box(const MessageBoxRequest& request) override;
};

} // namespace sys
