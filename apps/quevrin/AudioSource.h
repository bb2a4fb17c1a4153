#pragma once

#include "host/dx/platform/CBaseFilter.h"
#include "host/dx/platform/CBaseOutputPin.h"
#include "host/dx/platform/CMediaType.h"

class AudioSource;

class AudioSourcePin : public CBaseOutputPin {
public:
    AudioSourcePin(AudioSource* source, CCritSec* lock, HRESULT* phr);
    // The source's own type only.
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT GetMediaType(int position, CMediaType* mt) override;
    // Two buffers of the source's capacity, or what the input pin asks if more.
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

private:
    AudioSource* const source_;
};

// The host's source: one output pin offering one audio type (16-bit PCM or
// 32-bit float, interleaved), delivering the frames it is given in buffers
// of a fixed number of frames, each with its time.
class AudioSource : public CBaseFilter {
public:
    // A new source with one reference for the caller, delivering buffers of
    // `buffer_frames` from an allocator whose buffers hold `capacity_frames`
    // (at least the buffer frames).
    static AudioSource* create(const CMediaType& type, int buffer_frames, int capacity_frames);

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &pin_ : nullptr; }

    // [audio thread] Delivers whole frames; the result of the first
    // failed delivery, S_OK when all went through.
    HRESULT push(const void* frames, long count);
    HRESULT end_of_stream() { return pin_.DeliverEndOfStream(); }

    AudioSourcePin* output() { return &pin_; }
    const CMediaType& type() const { return type_; }
    long capacity_bytes() const { return long(capacity_frames_) * block_align_; }

private:
    AudioSource(const CMediaType& type, int buffer_frames, int capacity_frames);

    CCritSec lock_;
    CMediaType type_;
    int buffer_frames_;
    int capacity_frames_;
    int block_align_;
    int rate_;
    long long delivered_ = 0; // frames
    AudioSourcePin pin_;
};
