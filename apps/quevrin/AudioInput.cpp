#include "AudioInput.h"

#include "DemoPhrase.h"
#include "Options.h"

#include <algorithm>

bool audio_format(const dshow::CMediaType& type, AudioFile::Sample& sample, int& channels) {
    if (!IsEqualGUID(*type.Type(), MEDIATYPE_Audio) ||
        !IsEqualGUID(*type.FormatType(), FORMAT_WaveFormatEx) || type.FormatLength() < 16)
        return false;
    const auto* f = reinterpret_cast<const WAVEFORMATEX*>(type.Format());
    if (f->wFormatTag == WAVE_FORMAT_PCM && f->wBitsPerSample == 16)
        sample = AudioFile::Sample::int16;
    else if (f->wFormatTag == WAVE_FORMAT_IEEE_FLOAT && f->wBitsPerSample == 32)
        sample = AudioFile::Sample::float32;
    else
        return false;
    channels = f->nChannels;
    return true;
}

AudioInput::AudioInput(const std::string& path) : path_(path) {
    if (path.empty()) {
        demo_ = DemoPhrase::render();
        return;
    }
    std::string error;
    if (!file_.open_read(path, error))
        throw UsageError(path + ": " + error);
    if (file_.channels() > 2)
        throw UsageError(path + ": " + std::to_string(file_.channels()) +
                         " channels; Quevrin takes mono or stereo");
    if (file_.rate() <= 0)
        throw UsageError(path + ": no sample rate");
}

int AudioInput::channels() const {
    return path_.empty() ? DemoPhrase::channels : file_.channels();
}

int AudioInput::rate() const {
    return path_.empty() ? DemoPhrase::rate : file_.rate();
}

long long AudioInput::frames() const {
    return path_.empty() ? (long long)(demo_.size() / DemoPhrase::channels) : file_.frames();
}

AudioFile::Sample AudioInput::sample() const {
    return path_.empty() ? AudioFile::Sample::float32 : file_.sample();
}

dshow::CMediaType AudioInput::media_type() const {
    const bool pcm = sample() == AudioFile::Sample::int16;
    WAVEFORMATEX f{};
    f.wFormatTag = pcm ? WAVE_FORMAT_PCM : WAVE_FORMAT_IEEE_FLOAT;
    f.nChannels = WORD(channels());
    f.nSamplesPerSec = DWORD(rate());
    f.wBitsPerSample = pcm ? 16 : 32;
    f.nBlockAlign = WORD(channels() * f.wBitsPerSample / 8);
    f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    dshow::CMediaType type;
    type.SetType(&MEDIATYPE_Audio);
    type.SetSubtype(pcm ? &MEDIASUBTYPE_PCM : &MEDIASUBTYPE_IEEE_FLOAT);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    type.SetSampleSize(f.nBlockAlign);
    type.SetFormat(reinterpret_cast<const BYTE*>(&f), sizeof f);
    return type;
}

long AudioInput::read(void* frames, long count) {
    if (!path_.empty())
        return file_.read(frames, count);
    const long total = long(this->frames());
    const long n = std::min(count, total - demo_position_);
    std::copy_n(reinterpret_cast<const unsigned char*>(demo_.data()) +
                    std::size_t(demo_position_) * std::size_t(frame_bytes()),
                std::size_t(n) * std::size_t(frame_bytes()), static_cast<unsigned char*>(frames));
    demo_position_ += n;
    return n;
}

bool AudioInput::rewind() {
    if (!path_.empty())
        return file_.rewind();
    demo_position_ = 0;
    return true;
}
