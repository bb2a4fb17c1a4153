#pragma once

#include "host/dx/platform/CBaseFilter.h"
#include "host/dx/platform/CBaseOutputPin.h"
#include "host/dx/platform/CMediaType.h"

class AudioSource;

class AudioSourcePin : public dshow::CBaseOutputPin {
public:
    AudioSourcePin(AudioSource* source, dshow::CCritSec* lock, HRESULT* phr);
    // The source's own type only.
    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    HRESULT GetMediaType(int position, dshow::CMediaType* mt) override;
    // Two buffers of the source's capacity, or what the input pin asks if more.
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

private:
    AudioSource* const source_;
};

// The host's source: one output pin offering one audio type (16-bit PCM or
// 32-bit float, interleaved), delivering the frames it is given in buffers
// of a fixed number of frames, each with its time.
class AudioSource : public dshow::CBaseFilter {
public:
    // A new source with one reference for the caller, delivering buffers of
    // `buffer_frames` from an allocator whose buffers hold `capacity_frames`
    // (at least the buffer frames).
    static AudioSource* create(const dshow::CMediaType& type, int buffer_frames,
                               int capacity_frames);

    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int n) override { return n == 0 ? &pin_ : nullptr; }

    // [audio thread] Delivers whole frames; the result of the first
    // failed delivery, S_OK when all went through.
    HRESULT push(const void* frames, long count);
    // [audio thread] Delivers up to `count` frames that read(destination, n)
    // writes straight into the delivery buffers, returning how many it wrote
    // (fewer at the end); `delivered` counts them. The result as push's.
    template <typename Read>
    HRESULT push_read(long count, Read read, long& delivered);
    HRESULT end_of_stream() { return pin_.DeliverEndOfStream(); }

    AudioSourcePin* output() { return &pin_; }
    const dshow::CMediaType& type() const { return type_; }
    long capacity_bytes() const { return long(capacity_frames_) * block_align_; }

private:
    AudioSource(const dshow::CMediaType& type, int buffer_frames, int capacity_frames);
    // A delivery buffer for up to `frames`; then the sample with the `count`
    // frames written into it, timed and delivered (and released).
    HRESULT next_buffer(long frames, IMediaSample*& sample, BYTE*& data);
    HRESULT deliver(IMediaSample* sample, long count);

    dshow::CCritSec lock_;
    dshow::CMediaType type_;
    int buffer_frames_;
    int capacity_frames_;
    int block_align_;
    int rate_;
    long long delivered_ = 0; // frames
    AudioSourcePin pin_;
};

template <typename Read>
HRESULT AudioSource::push_read(long count, Read read, long& delivered) {
    delivered = 0;
    while (delivered < count) {
        const long frames = count - delivered < buffer_frames_ ? count - delivered : buffer_frames_;
        IMediaSample* sample = nullptr;
        BYTE* data = nullptr;
        HRESULT hr = next_buffer(frames, sample, data);
        if (FAILED(hr))
            return hr;
        const long n = read(data, frames);
        if (n <= 0) {
            sample->Release();
            return S_OK;
        }
        hr = deliver(sample, n);
        delivered += n;
        if (hr != S_OK || n < frames)
            return hr;
    }
    return S_OK;
}
