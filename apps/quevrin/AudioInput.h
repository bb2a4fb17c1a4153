#pragma once

#include "AudioFile.h"

#include "host/dx/platform/CMediaType.h"

#include <string>
#include <vector>

// The interleaved audio a media type carries: 16-bit PCM or 32-bit float
// samples and their channels; false for any other type.
bool audio_format(const dshow::CMediaType& type, AudioFile::Sample& sample, int& channels);

// Where a stream's frames come from: an audio file, or the built-in demo
// phrase when the path is empty.
class AudioInput {
public:
    // Throws UsageError naming the file when it cannot be played.
    explicit AudioInput(const std::string& path);

    std::string name() const { return path_.empty() ? "demo phrase" : path_; }
    int channels() const;
    int rate() const;
    long long frames() const;
    AudioFile::Sample sample() const;
    int frame_bytes() const { return channels() * (sample() == AudioFile::Sample::int16 ? 2 : 4); }
    // The interleaved type the source offers the filter.
    dshow::CMediaType media_type() const;
    // Up to `count` frames into `frames`; 0 at the end.
    long read(void* frames, long count);
    long read(std::vector<unsigned char>& buffer, long count) { return read(buffer.data(), count); }
    // Reading starts again at the first frame; false when it cannot.
    bool rewind();

private:
    std::string path_;
    AudioFile file_;
    std::vector<float> demo_;
    long demo_position_ = 0;
};
