#include "AudioSink.h"

#include "AudioInput.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

const CLSID clsid_audio_sink = {
    0x2F6C8E41, 0x7A0B, 0x4C55, {0x9D, 0x13, 0x61, 0x0E, 0x52, 0xA7, 0x3B, 0x02}};

// The largest magnitude among the samples (0 for none), in eight running
// maxima that do not wait on one another.
template <typename Sample>
float peak_of(const Sample* s, long count) {
    float m[8] = {};
    long i = 0;
    for (; i + 8 <= count; i += 8)
        for (int k = 0; k < 8; ++k)
            m[k] = std::max(m[k], std::abs(float(s[i + k])));
    for (; i < count; ++i)
        m[0] = std::max(m[0], std::abs(float(s[i])));
    return *std::max_element(m, m + 8);
}

} // namespace

AudioSinkPin::AudioSinkPin(AudioSink* sink, dshow::CCritSec* lock, HRESULT* phr)
    : dshow::CBaseInputPin("AudioSinkPin", sink, lock, phr, WIDE_TEXT("In")), sink_(sink) {}

HRESULT AudioSinkPin::CheckMediaType(const dshow::CMediaType* mt) {
    AudioFile::Sample sample{};
    int channels = 0;
    return audio_format(*mt, sample, channels) && sample == sink_->file_.sample() &&
                   channels == sink_->file_.channels()
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

STDMETHODIMP AudioSinkPin::Receive(IMediaSample* sample) {
    const HRESULT hr = dshow::CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    sink_->take(data, sample->GetActualDataLength() / sink_->frame_bytes_);
    // Past the tail or after a write error nothing more is wanted.
    const bool full =
        sink_->input_end_ >= 0 && sink_->received_ >= sink_->input_end_ + sink_->tail_frames_;
    return sink_->failed_ || full ? S_FALSE : S_OK;
}

STDMETHODIMP AudioSinkPin::EndOfStream() {
    const HRESULT hr = CheckStreaming();
    if (hr == S_OK)
        sink_->ended_ = true;
    return hr;
}

AudioSink::AudioSink(AudioFile& file, long long tail_frames, bool trim)
    : dshow::CBaseFilter("AudioSink", nullptr, &lock_, clsid_audio_sink), file_(file),
      tail_frames_(tail_frames), trim_(trim),
      frame_bytes_(file.channels() * file.bytes_per_sample()), pin_(this, &lock_, nullptr) {
    // Room for the whole tail at once, so that quiet frames never move as
    // they gather; only the part used is ever touched.
    if (trim_)
        quiet_.reserve(std::size_t(tail_frames_) * std::size_t(frame_bytes_));
}

AudioSink* AudioSink::create(AudioFile& file, long long tail_frames, bool trim) {
    auto* sink = new AudioSink(file, tail_frames, trim);
    sink->AddRef();
    return sink;
}

long AudioSink::audible_frames(const BYTE* data, long count) const {
    const long samples = count * file_.channels();
    long last = samples; // one past the last audible sample
    if (file_.sample() == AudioFile::Sample::int16) {
        const auto* s = reinterpret_cast<const std::int16_t*>(data);
        while (last > 0 && s[last - 1] == 0)
            --last;
    } else {
        const auto* s = reinterpret_cast<const float*>(data);
        while (last > 0 && !(std::abs(s[last - 1]) > audible))
            --last;
    }
    return (last + file_.channels() - 1) / file_.channels();
}

void AudioSink::write(const BYTE* data, long count) {
    if (count <= 0 || failed_)
        return;
    const long samples = count * file_.channels();
    if (file_.sample() == AudioFile::Sample::int16) {
        const auto* s = reinterpret_cast<const std::int16_t*>(data);
        peak_ = std::max(peak_, peak_of(s, samples) / 32768.0f);
        for (long i = 0; i < samples; ++i)
            clipped_ += s[i] == INT16_MAX || s[i] == INT16_MIN ? 1 : 0;
    } else {
        peak_ = std::max(peak_, peak_of(reinterpret_cast<const float*>(data), samples));
    }
    if (file_.write(data, count) != count)
        failed_ = true;
}

void AudioSink::take(const BYTE* data, long count) {
    const long long start = received_;
    received_ += count;
    if (input_end_ < 0) {
        write(data, count);
        return;
    }
    // The part of the block that falls inside the tail.
    const long long end = std::min(received_, input_end_ + tail_frames_);
    if (end <= start)
        return;
    count = long(end - start);
    if (!trim_) {
        write(data, count);
        return;
    }
    const long audible = audible_frames(data, count);
    const std::size_t split = std::size_t(audible) * std::size_t(frame_bytes_);
    if (audible > 0) {
        write(quiet_.data(), long(quiet_.size() / std::size_t(frame_bytes_)));
        write(data, audible);
        quiet_.clear();
    }
    quiet_.insert(quiet_.end(), data + split,
                  data + std::size_t(count) * std::size_t(frame_bytes_));
}
