#include "AudioSink.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const CLSID clsid_audio_sink = {
    0x2F6C8E41, 0x7A0B, 0x4C55, {0x9D, 0x13, 0x61, 0x0E, 0x52, 0xA7, 0x3B, 0x02}};

} // namespace

AudioSinkPin::AudioSinkPin(AudioSink* sink, CCritSec* lock, HRESULT* phr)
    : CBaseInputPin("AudioSinkPin", sink, lock, phr, WIDE_TEXT("In")), sink_(sink) {}

HRESULT AudioSinkPin::CheckMediaType(const CMediaType* mt) {
    if (!IsEqualGUID(*mt->Type(), MEDIATYPE_Audio) ||
        !IsEqualGUID(*mt->FormatType(), FORMAT_WaveFormatEx) || mt->FormatLength() < 16)
        return VFW_E_TYPE_NOT_ACCEPTED;
    const auto* f = reinterpret_cast<const WAVEFORMATEX*>(mt->Format());
    const bool pcm16 = f->wFormatTag == WAVE_FORMAT_PCM && f->wBitsPerSample == 16;
    const bool float32 = f->wFormatTag == WAVE_FORMAT_IEEE_FLOAT && f->wBitsPerSample == 32;
    const bool ours = sink_->file_.sample() == AudioFile::Sample::int16 ? pcm16 : float32;
    return ours && f->nChannels == sink_->file_.channels() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

STDMETHODIMP AudioSinkPin::Receive(IMediaSample* sample) {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    sink_->take(data, sample->GetActualDataLength());
    // Past the frame limit or after a write error nothing more is wanted.
    return sink_->failed_ || sink_->frames_ >= sink_->frame_limit_ ? S_FALSE : S_OK;
}

STDMETHODIMP AudioSinkPin::EndOfStream() {
    const HRESULT hr = CheckStreaming();
    if (hr == S_OK)
        sink_->ended_ = true;
    return hr;
}

AudioSink::AudioSink(AudioFile& file, long long frame_limit)
    : CBaseFilter("AudioSink", nullptr, &lock_, clsid_audio_sink), file_(file),
      frame_limit_(frame_limit), pin_(this, &lock_, nullptr) {}

AudioSink* AudioSink::create(AudioFile& file, long long frame_limit) {
    auto* sink = new AudioSink(file, frame_limit);
    sink->AddRef();
    return sink;
}

void AudioSink::take(const BYTE* data, long bytes) {
    const int block = file_.channels() * file_.bytes_per_sample();
    long count = bytes / block;
    count = long(std::min<long long>(count, std::max<long long>(frame_limit_ - frames_, 0)));
    if (count <= 0 || failed_)
        return;
    const long samples = count * file_.channels();
    if (file_.sample() == AudioFile::Sample::int16) {
        const auto* s = reinterpret_cast<const std::int16_t*>(data);
        for (long i = 0; i < samples; ++i)
            peak_ = std::max(peak_, std::abs(float(s[i])) / 32768.0f);
    } else {
        const auto* s = reinterpret_cast<const float*>(data);
        for (long i = 0; i < samples; ++i)
            peak_ = std::max(peak_, std::abs(s[i]));
    }
    if (file_.write(data, count) != count)
        failed_ = true;
    frames_ += count;
}
