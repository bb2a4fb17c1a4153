#pragma once

#include "sys/DialogBackendInterface.h"

namespace sys {

class FileSelector;

// Performs a selector's dialog through the current dialog back end.
class FileSelectorImpl {
public:
    explicit FileSelectorImpl(const FileSelector& owner) : owner(owner) {}

    // [editor thread] Shows the dialog for the selector's current settings;
    // may throw whatever the back end throws.
    FileDialogResult run(FileDialogMode mode) const;

private:
    const FileSelector& owner;
};

} // namespace sys
