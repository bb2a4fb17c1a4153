#pragma once

#include "sys/DialogBackendInterface.h"

#include <memory>
#include <string>
#include <vector>

namespace sys {

class FileSelectorImpl;

// A file open/save dialog with type filters. The caller sets the initial
// path, filters and title, runs open() or save(), and reads the chosen path.
class FileSelector {
public:
    FileSelector();
    virtual ~FileSelector();
    FileSelector(const FileSelector&) = delete;
    FileSelector& operator=(const FileSelector&) = delete;

    // [editor thread] Replaces the filters; the selected index is then
    // limited to the new list.
    void set_filters(const std::vector<FileFilter>& filters);
    const std::vector<FileFilter>& get_filters() const { return filters; }

    // [editor thread] 0-based index into the filters.
    void set_selected_filter_index(int index) { selected_filter = index; }
    int get_selected_filter_index() const { return selected_filter; }

    void set_title(const std::string& text) { title = text; }
    const std::string& get_title() const { return title; }

    // [editor thread] Modal; 0 when a file was chosen (path and selected
    // index updated, the selected filter's extension appended to a name that
    // has none), 1 when the user cancelled, -1 on a dialog error.
    int open();
    int save();

    // The initial file path on entry, the chosen path on return.
    std::string path;

private:
    int run(FileDialogMode mode);
    void append_default_extension();

    int selected_filter = 0;
    std::vector<FileFilter> filters;
    std::string title;
    std::unique_ptr<FileSelectorImpl> impl;
};

} // namespace sys
