#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct sf_private_tag;

// An audio file read or written frame by frame through libsndfile. Samples
// are interleaved; 16-bit PCM is read and written as 16-bit integers, every
// other format as 32-bit floats.
class AudioFile {
public:
    enum class Sample { int16, float32 };

    AudioFile() = default;
    AudioFile(const AudioFile&) = delete;
    AudioFile& operator=(const AudioFile&) = delete;
    ~AudioFile();

    // Opens a file for reading, "-" for standard input; false with `error` set
    // (a phrase to follow the file's name) when it cannot be read. A stream
    // (standard input, a FIFO, a socket) is first copied to an unnamed
    // temporary file, so that every format reads from it and its real length
    // is known.
    bool open_read(const std::string& path, std::string& error);
    // Creates `path` in the format `type` (a file extension such as "wav" or
    // "flac"); false with `error` set when that is not possible.
    bool open_write(const std::string& path, const std::string& type, int channels, int rate,
                    Sample sample, std::string& error);
    // The type a file's extension gives, lower case; "" without one.
    static std::string type_of(const std::string& path);
    // Whether open_write() knows the type.
    static bool known_type(const std::string& type);
    static const char* known_types() { return "wav, aiff, flac, ogg, au, caf or w64"; }

    // Frames read or written; fewer than asked at the end of a file.
    long read(void* frames, long count);
    long write(const void* frames, long count);
    // Reading starts again at the first frame; false when it cannot.
    bool rewind();
    // Flushes and closes; false when the data could not all be written.
    bool close();
    // The system error of the first write or close that failed; 0 for none
    // (or a failure of the encoder's own).
    int write_error() const { return write_error_; }

    int channels() const { return channels_; }
    int rate() const { return rate_; }
    long long frames() const { return frames_; }
    Sample sample() const { return sample_; }
    int bytes_per_sample() const { return sample_ == Sample::int16 ? 2 : 4; }

private:
    sf_private_tag* file_ = nullptr; // libsndfile's SNDFILE
    std::FILE* spool_ = nullptr;     // the copy of a stream that is read
    int channels_ = 0;
    int rate_ = 0;
    long long frames_ = 0;
    int write_error_ = 0;
    Sample sample_ = Sample::float32;
};
