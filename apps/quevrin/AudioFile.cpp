#include "AudioFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>

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

int major_format(const std::string& named_as) {
    const std::string ext = lower_extension(named_as);
    if (ext == "wav")
        return SF_FORMAT_WAV;
    if (ext == "aiff" || ext == "aif")
        return SF_FORMAT_AIFF;
    if (ext == "flac")
        return SF_FORMAT_FLAC;
    if (ext == "ogg")
        return SF_FORMAT_OGG;
    return 0;
}

} // namespace

AudioFile::~AudioFile() {
    close();
}

bool AudioFile::open_read(const std::string& path, std::string& error) {
    SF_INFO info{};
    file_ = sf_open(path.c_str(), SFM_READ, &info);
    if (file_ == nullptr) {
        error = sf_strerror(nullptr);
        return false;
    }
    channels_ = info.channels;
    rate_ = info.samplerate;
    frames_ = info.frames;
    sample_ =
        (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16 ? Sample::int16 : Sample::float32;
    return true;
}

bool AudioFile::known_format(const std::string& named_as) {
    return major_format(named_as) != 0;
}

bool AudioFile::open_write(const std::string& path, const std::string& named_as, int channels,
                           int rate, Sample sample, std::string& error) {
    const int major = major_format(named_as);
    if (major == 0) {
        error = "unknown output format; use .wav, .aiff, .flac or .ogg";
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
    if (!sf_format_check(&info)) {
        error = "this format cannot hold the audio";
        return false;
    }
    file_ = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file_ == nullptr) {
        error = sf_strerror(nullptr);
        return false;
    }
    // Floats beyond full scale are clipped, not wrapped, in integer formats.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    channels_ = channels;
    rate_ = rate;
    sample_ = sample;
    return true;
}

long AudioFile::read(void* frames, long count) {
    if (sample_ == Sample::int16)
        return long(sf_readf_short(file_, static_cast<short*>(frames), count));
    return long(sf_readf_float(file_, static_cast<float*>(frames), count));
}

long AudioFile::write(const void* frames, long count) {
    long written;
    if (sample_ == Sample::int16)
        written = long(sf_writef_short(file_, static_cast<const short*>(frames), count));
    else
        written = long(sf_writef_float(file_, static_cast<const float*>(frames), count));
    frames_ += written;
    return written;
}

bool AudioFile::close() {
    if (file_ == nullptr)
        return true;
    const bool ok = sf_error(file_) == SF_ERR_NO_ERROR;
    const int closed = sf_close(file_);
    file_ = nullptr;
    return ok && closed == 0;
}
