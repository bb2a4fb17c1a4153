#include "OutputFile.h"

#include "Options.h"

#include "sys/UserMessage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The temporary files a signal must remove. The handler reads only these
// fixed buffers, set before a slot is marked used.
constexpr int max_pending = 4;
char pending_path[max_pending][PATH_MAX];
volatile std::sig_atomic_t pending_used[max_pending];

extern "C" void remove_pending_and_exit(int signo) {
    for (int i = 0; i < max_pending; ++i)
        if (pending_used[i])
            unlink(pending_path[i]);
    _exit(128 + signo);
}

int add_pending(const std::string& path) {
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < max_pending; ++i) {
        if (pending_used[i])
            continue;
        std::memcpy(pending_path[i], path.c_str(), path.size() + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        pending_used[i] = 1;
        return i;
    }
    return -1;
}

void drop_pending(int slot) {
    if (slot >= 0)
        pending_used[slot] = 0;
}

bool write_all(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The file a chain of symbolic links ends at (which need not exist yet).
std::string link_target(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        char buffer[PATH_MAX];
        const ssize_t n = readlink(target.c_str(), buffer, sizeof buffer - 1);
        if (n <= 0)
            return target;
        const std::string link(buffer, std::size_t(n));
        target = link[0] == '/' ? link : folder_of(target) + link;
    }
    throw UsageError(path + ": too many levels of symbolic links");
}

std::string reason(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "its folder does not exist";
    case EACCES:
    case EPERM:
    case EROFS:
        return "its folder cannot be written (" + std::string(std::strerror(error)) + ")";
    default:
        return std::strerror(error);
    }
}

} // namespace

void OutputFile::remove_on_signals() {
    struct sigaction action {};
    action.sa_handler = remove_pending_and_exit;
    sigemptyset(&action.sa_mask);
    // SIGPIPE too: a reader of standard output that goes away.
    for (int signo : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        sigaction(signo, &action, nullptr);
}

OutputFile::OutputFile(const std::string& path, Create create) : path_(path) {
    target_ = path == "-" ? path : link_target(path);
    struct stat st;
    const bool exists = path != "-" && stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        throw UsageError(path + ": is a folder, not a file to write");
    stream_ = path == "-" || (exists && !S_ISREG(st.st_mode));
    if (exists && !stream_)
        replaced_mode_ = int(st.st_mode & 07777);
    if (!stream_) {
        const std::size_t slash = target_.find_last_of('/');
        const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
        write_path_ = folder_of(target_) + "." + name + ".part" + std::to_string(getpid());
    }
    if (create == Create::at_once || !stream_)
        this->create();
    // Checked; nothing lies beside the output until it is written.
    if (create == Create::on_write && !stream_) {
        unlink(write_path_.c_str());
        drop_pending(slot_);
        slot_ = -1;
        created_ = false;
    }
}

void OutputFile::create() {
    int fd = -1;
    if (stream_) {
        // Written whole first: several formats complete their header last.
        const char* folder = std::getenv("TMPDIR");
        write_path_ = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                      "/quevrin-output.XXXXXX";
        fd = mkstemp(write_path_.data());
    } else {
        fd = open(write_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    }
    if (fd < 0)
        throw UsageError(path_ + ": cannot be written; " + reason(errno));
    slot_ = add_pending(write_path_);
    created_ = true;
    // A replaced file keeps its permissions.
    if (replaced_mode_ >= 0)
        fchmod(fd, mode_t(replaced_mode_));
    close(fd);
}

OutputFile::~OutputFile() {
    if (created_ && (stream_ || !committed_))
        unlink(write_path_.c_str());
    drop_pending(slot_);
}

void OutputFile::write(const std::vector<unsigned char>& bytes) {
    if (!created_)
        create();
    const int fd = open(write_path_.c_str(), O_WRONLY | O_TRUNC);
    int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        if (!write_all(fd, bytes.data(), bytes.size()))
            error = errno != 0 ? errno : EIO;
        if (close(fd) != 0 && error == 0)
            error = errno;
    }
    if (error != 0)
        throw UsageError(path_ + ": cannot be written completely; " + sys::write_failure(error));
}

void OutputFile::commit() {
    if (committed_)
        return;
    if (stream_) {
        const int error = copy_to_stream();
        if (error != 0)
            throw UsageError(path_ + ": cannot be written completely; " +
                             sys::write_failure(error));
        committed_ = true;
        return;
    }
    if (std::rename(write_path_.c_str(), target_.c_str()) != 0)
        throw UsageError(path_ + ": cannot be written; " + reason(errno));
    committed_ = true;
    drop_pending(slot_);
}

int OutputFile::copy_to_stream() const {
    const int from = open(write_path_.c_str(), O_RDONLY);
    int error = from < 0 ? errno : 0;
    const int to = path_ == "-" ? STDOUT_FILENO : open(target_.c_str(), O_WRONLY);
    if (to < 0 && error == 0)
        error = errno;
    char buffer[1 << 16];
    while (error == 0) {
        const ssize_t n = read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n == 0 ? 0 : errno;
            break;
        }
        if (!write_all(to, buffer, std::size_t(n)))
            error = errno != 0 ? errno : EIO;
    }
    if (from >= 0)
        close(from);
    if (to > STDOUT_FILENO && close(to) != 0 && error == 0)
        error = errno;
    return error;
}
