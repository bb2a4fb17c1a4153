#include "sys/DialogBackendInterface.h"

namespace sys {

namespace {
DialogBackendInterface* installed_backend = nullptr;
} // namespace

DialogBackendInterface& dialog_backend() {
    return installed_backend != nullptr ? *installed_backend : platform_dialog_backend();
}

DialogBackendInterface* set_dialog_backend(DialogBackendInterface* backend) {
    DialogBackendInterface* previous = installed_backend;
    installed_backend = backend;
    return previous;
}

} // namespace sys
