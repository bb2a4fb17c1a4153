#include "sys/FileSelector.h"

#include "sys/FileSelectorImpl.h"

#include <algorithm>

namespace sys {

namespace {
bool in_range(int index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count;
}
} // namespace

FileSelector::FileSelector()
    : filters{{"All files", "*.*"}}, impl(std::make_unique<FileSelectorImpl>(*this)) {}

FileSelector::~FileSelector() = default;

void FileSelector::set_filters(const std::vector<FileFilter>& new_filters) {
    filters = new_filters;
    const int last = static_cast<int>(filters.size()) - 1;
    selected_filter = std::max(0, std::min(selected_filter, last));
}

int FileSelector::open() {
    return run(FileDialogMode::open);
}

int FileSelector::save() {
    return run(FileDialogMode::save);
}

int FileSelector::run(FileDialogMode mode) {
    try {
        const FileDialogResult result = impl->run(mode);
        switch (result.status) {
        case FileDialogResult::Status::cancelled:
            return 1;
        case FileDialogResult::Status::failed:
            return -1;
        case FileDialogResult::Status::chosen:
            break;
        }
        if (result.path.empty()) {
            return -1;
        }
        if (in_range(result.selected_filter, filters.size())) {
            selected_filter = result.selected_filter;
        }
        path = result.path;
        append_default_extension();
        return 0;
    } catch (...) {
        return -1;
    }
}

// A name typed without an extension gets the selected filter's: the text
// after the pattern's last '*' that starts an extension, so ".pbk" for
// "*.pbk", ".b" for "*.a;*.b" and ".*" for the catch-all "*.*".
void FileSelector::append_default_extension() {
    const std::size_t separator = path.find_last_of("/\\");
    const std::size_t name_start = separator == std::string::npos ? 0 : separator + 1;
    if (path.find('.', name_start) != std::string::npos ||
        !in_range(selected_filter, filters.size())) {
        return;
    }
    const std::string& pattern = filters[static_cast<std::size_t>(selected_filter)].second;
    const std::size_t star = pattern.rfind("*.");
    if (star != std::string::npos) {
        path += pattern.substr(star + 1);
    }
}

} // namespace sys
