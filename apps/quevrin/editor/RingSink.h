#pragma once

#include "FrameRing.h"

#include "host/dx/platform/CBaseFilter.h"
#include "host/dx/platform/CBaseInputPin.h"

#include <atomic>

class RingSink;

class RingSinkPin : public dshow::CBaseInputPin {
public:
    RingSinkPin(RingSink* sink, dshow::CCritSec* lock, HRESULT* phr);
    // Stereo 16-bit PCM or 32-bit float.
    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    HRESULT SetMediaType(const dshow::CMediaType* mt) override;
    // [audio thread] Puts the sample's frames into the ring as floats,
    // waiting for room; S_FALSE once the sink is cancelled.
    STDMETHODIMP Receive(IMediaSample* sample) override;

private:
    RingSink* const sink_;
    bool pcm16_ = false;
};

// The live player's sink: one input pin taking the filter's stereo output
// into a ring of frames that the audio output reads. The streaming thread
// waits while the ring is full, which paces the stream by the output.
class RingSink : public dshow::CBaseFilter {
public:
    // A new sink feeding `ring`, with one reference for the caller.
    static RingSink* create(FrameRing& ring);

    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int n) override { return n == 0 ? &pin_ : nullptr; }
    RingSinkPin* input() { return &pin_; }

    // [any thread] A waiting delivery gives up, and every later one is refused.
    void cancel() { cancelled_.store(true); }

private:
    friend class RingSinkPin;
    explicit RingSink(FrameRing& ring);

    dshow::CCritSec lock_;
    FrameRing& ring_;
    RingSinkPin pin_;
    std::atomic<bool> cancelled_{false};
};
