#pragma once

#include <cstdint>
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

    // Opens a file for reading; false with `error` set when it cannot be read.
    bool open_read(const std::string& path, std::string& error);
    // Creates a file whose format follows the extension of `named_as` (.wav,
    // .aiff/.aif, .flac, .ogg); false with `error` set when that is not possible.
    bool open_write(const std::string& path, const std::string& named_as, int channels, int rate,
                    Sample sample, std::string& error);
    // Whether a file of that name would get a format.
    static bool known_format(const std::string& named_as);

    // Frames read or written; fewer than asked at the end of a file.
    long read(void* frames, long count);
    long write(const void* frames, long count);
    // Flushes and closes; false when the data could not all be written.
    bool close();

    int channels() const { return channels_; }
    int rate() const { return rate_; }
    long long frames() const { return frames_; }
    Sample sample() const { return sample_; }
    int bytes_per_sample() const { return sample_ == Sample::int16 ? 2 : 4; }

private:
    sf_private_tag* file_ = nullptr; // libsndfile's SNDFILE
    int channels_ = 0;
    int rate_ = 0;
    long long frames_ = 0;
    Sample sample_ = Sample::float32;
};
