#include "sys/FileSelectorImpl.h"

#include "sys/FileSelector.h"

namespace sys {

FileDialogResult FileSelectorImpl::run(FileDialogMode mode) const {
    FileDialogRequest request;
    request.mode = mode;
    request.title = owner.get_title();
    request.filters = owner.get_filters();
    request.selected_filter = owner.get_selected_filter_index();
    request.initial_path = owner.path;
    return dialog_backend().run_file_dialog(request);
}

} // namespace sys
