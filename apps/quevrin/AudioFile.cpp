#include "AudioFile.h"

#include "Sndfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace {

std::string lower_extension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

int major_format(const std::string& type) {
    struct Known {
        const char* type;
        int major;
    };
    static const Known known[] = {{"wav", SF_FORMAT_WAV},  {"aiff", SF_FORMAT_AIFF},
                                  {"aif", SF_FORMAT_AIFF}, {"flac", SF_FORMAT_FLAC},
                                  {"ogg", SF_FORMAT_OGG},  {"au", SF_FORMAT_AU},
                                  {"caf", SF_FORMAT_CAF},  {"w64", SF_FORMAT_W64}};
    for (const Known& k : known)
        if (type == k.type)
            return k.major;
    return 0;
}

std::string open_error(int code) {
    switch (code) {
    case SF_ERR_UNRECOGNISED_FORMAT:
        return "is not an audio file in a format quevrin reads";
    case SF_ERR_MALFORMED_FILE:
        return "is a damaged audio file";
    case SF_ERR_UNSUPPORTED_ENCODING:
        return "holds audio in an encoding quevrin does not read";
    default:
        return std::string("cannot be read (") + sndfile().error_number(code) + ")";
    }
}

// Copies what remains of the stream `fd` into an unnamed temporary file,
// rewound; null when that fails.
std::FILE* spool(int fd) {
    std::FILE* copy = std::tmpfile();
    if (copy == nullptr)
        return nullptr;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || std::fwrite(buffer, 1, std::size_t(n), copy) != std::size_t(n)) {
            std::fclose(copy);
            return nullptr;
        }
    }
    if (std::fflush(copy) != 0) {
        std::fclose(copy);
        return nullptr;
    }
    std::rewind(copy);
    return copy;
}

} // namespace

AudioFile::~AudioFile() {
    close();
}

bool AudioFile::open_read(const std::string& path, std::string& error) {
    SF_INFO info{};
    struct stat st;
    const bool stream = path == "-" || (stat(path.c_str(), &st) == 0 &&
                                        (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)));
    if (stream) {
        const int fd = path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY);
        spool_ = fd < 0 ? nullptr : spool(fd);
        if (fd > STDIN_FILENO)
            ::close(fd);
        if (spool_ == nullptr) {
            error = std::string("cannot be read (") + std::strerror(errno) + ")";
            return false;
        }
        file_ = sndfile().open_fd(fileno(spool_), SFM_READ, &info, SF_FALSE);
    } else {
        file_ = sndfile().open(path.c_str(), SFM_READ, &info);
    }
    if (file_ == nullptr) {
        error = open_error(sndfile().error(nullptr));
        return false;
    }
    channels_ = info.channels;
    rate_ = info.samplerate;
    frames_ = info.frames;
    sample_ =
        (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16 ? Sample::int16 : Sample::float32;
    return true;
}

std::string AudioFile::type_of(const std::string& path) {
    return lower_extension(path);
}

bool AudioFile::known_type(const std::string& type) {
    return major_format(type) != 0;
}

bool AudioFile::open_write(const std::string& path, const std::string& type, int channels, int rate,
                           Sample sample, std::string& error) {
    const int major = major_format(type);
    if (major == 0) {
        error = std::string("unknown output format; use ") + known_types();
        return false;
    }
    int subtype = sample == Sample::int16 ? SF_FORMAT_PCM_16 : SF_FORMAT_FLOAT;
    if (major == SF_FORMAT_FLAC && sample == Sample::float32)
        subtype = SF_FORMAT_PCM_24; // FLAC holds integers only
    if (major == SF_FORMAT_OGG)
        subtype = SF_FORMAT_VORBIS;
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = rate;
    info.format = major | subtype;
    if (!sndfile().format_check(&info)) {
        error = "this format cannot hold the audio";
        return false;
    }
    // Opened without O_TRUNC, and emptied only when it holds something: a
    // file truncated to nothing is flushed to disk when closed (ext4), which
    // the render would wait for.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0 || (st.st_size > 0 && ftruncate(fd, 0) != 0)) {
        error = std::string("cannot be written (") + std::strerror(errno) + ")";
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    file_ = sndfile().open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (file_ == nullptr) {
        error = std::string("cannot be written (") + sndfile().strerror(nullptr) + ")";
        ::close(fd);
        return false;
    }
    // Floats beyond full scale are clipped, not wrapped, in integer formats.
    sndfile().command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // No PEAK chunk in float files: libsndfile would scan every sample
    // written for it, for a header field nothing here reads.
    sndfile().command(file_, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    channels_ = channels;
    rate_ = rate;
    sample_ = sample;
    return true;
}

long AudioFile::read(void* frames, long count) {
    if (sample_ == Sample::int16)
        return long(sndfile().readf_short(file_, static_cast<short*>(frames), count));
    return long(sndfile().readf_float(file_, static_cast<float*>(frames), count));
}

bool AudioFile::rewind() {
    return file_ != nullptr && sndfile().seek(file_, 0, SEEK_SET) == 0;
}

long AudioFile::write(const void* frames, long count) {
    errno = 0;
    long written;
    if (sample_ == Sample::int16)
        written = long(sndfile().writef_short(file_, static_cast<const short*>(frames), count));
    else
        written = long(sndfile().writef_float(file_, static_cast<const float*>(frames), count));
    frames_ += written;
    if (written != count && write_error_ == 0)
        write_error_ = errno;
    return written;
}

bool AudioFile::close() {
    if (file_ == nullptr)
        return true;
    const bool ok = sndfile().error(file_) == SF_ERR_NO_ERROR;
    errno = 0;
    const int closed = sndfile().close(file_);
    if (closed != 0 && write_error_ == 0)
        write_error_ = errno;
    file_ = nullptr;
    if (spool_ != nullptr)
        std::fclose(spool_);
    spool_ = nullptr;
    return ok && closed == 0;
}
