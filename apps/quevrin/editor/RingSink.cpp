#include "RingSink.h"

#include "AudioInput.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>

namespace {

const CLSID clsid_ring_sink = {
    0x5B0E27C4, 0x3D61, 0x4F8A, {0xA2, 0x47, 0x0C, 0x91, 0x6E, 0xD3, 0x58, 0x1B}};

// Frames converted to float at a time, on the stack.
constexpr long chunk_frames = 256;

} // namespace

RingSinkPin::RingSinkPin(RingSink* sink, dshow::CCritSec* lock, HRESULT* phr)
    : dshow::CBaseInputPin("RingSinkPin", sink, lock, phr, WIDE_TEXT("In")), sink_(sink) {}

HRESULT RingSinkPin::CheckMediaType(const dshow::CMediaType* mt) {
    AudioFile::Sample sample{};
    int channels = 0;
    return audio_format(*mt, sample, channels) && channels == FrameRing::channels
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT RingSinkPin::SetMediaType(const dshow::CMediaType* mt) {
    const HRESULT hr = dshow::CBaseInputPin::SetMediaType(mt);
    AudioFile::Sample sample{};
    int channels = 0;
    if (SUCCEEDED(hr) && audio_format(*mt, sample, channels))
        pcm16_ = sample == AudioFile::Sample::int16;
    return hr;
}

STDMETHODIMP RingSinkPin::Receive(IMediaSample* sample) {
    const HRESULT hr = dshow::CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const long frame_bytes = FrameRing::channels * (pcm16_ ? 2 : 4);
    const long count = sample->GetActualDataLength() / frame_bytes;
    float frames[chunk_frames * FrameRing::channels];
    for (long done = 0; done < count;) {
        const long n = std::min(chunk_frames, count - done);
        const BYTE* from = data + std::size_t(done) * std::size_t(frame_bytes);
        if (pcm16_) {
            for (long i = 0; i < n * FrameRing::channels; ++i) {
                std::int16_t s;
                std::memcpy(&s, from + 2 * i, sizeof s);
                frames[i] = float(s) / 32768.0f;
            }
        } else {
            std::memcpy(frames, from, std::size_t(n) * sizeof(float) * FrameRing::channels);
        }
        for (long put = 0; put < n;) {
            if (sink_->cancelled_.load())
                return S_FALSE;
            const std::size_t w =
                sink_->ring_.write(frames + put * FrameRing::channels, std::size_t(n - put));
            put += long(w);
            if (put < n)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        done += n;
    }
    return S_OK;
}

RingSink::RingSink(FrameRing& ring)
    : dshow::CBaseFilter("RingSink", nullptr, &lock_, clsid_ring_sink), ring_(ring),
      pin_(this, &lock_, nullptr) {}

RingSink* RingSink::create(FrameRing& ring) {
    auto* sink = new RingSink(ring);
    sink->AddRef();
    return sink;
}
