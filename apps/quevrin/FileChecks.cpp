#include "FileChecks.h"

#include "Options.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

void check_readable(const std::string& path) {
    if (path == "-")
        return;
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        throw UsageError(path + ": " +
                         (errno == ENOENT || errno == ENOTDIR ? std::string("no such file")
                                                              : std::strerror(errno)));
    if (S_ISDIR(st.st_mode))
        throw UsageError(path + ": is a folder, not a file");
    if (access(path.c_str(), R_OK) != 0)
        throw UsageError(path + ": cannot be read (" + std::strerror(errno) + ")");
}

namespace {

void refuse_same(const std::vector<FileRole>& files) {
    struct Known {
        const FileRole* file;
        dev_t device;
        ino_t inode;
    };
    std::vector<Known> known;
    for (const FileRole& f : files) {
        struct stat st;
        // Streams and devices are not files a render could destroy.
        if (f.path.empty() || f.path == "-" || stat(f.path.c_str(), &st) != 0 ||
            !S_ISREG(st.st_mode))
            continue;
        for (const Known& k : known)
            if (k.device == st.st_dev && k.inode == st.st_ino)
                throw UsageError(f.path + ": the " + f.role + " is the same file as the " +
                                 k.file->role + " " + k.file->path + "; name another file");
        known.push_back(Known{&f, st.st_dev, st.st_ino});
    }
}

} // namespace

void refuse_same_files(const std::vector<FileRole>& files, const std::string& state,
                       const std::string& save_state) {
    std::vector<FileRole> with_state = files;
    with_state.push_back({"--state file", state});
    refuse_same(with_state);
    with_state.back() = {"--save-state file", save_state};
    refuse_same(with_state);
}
