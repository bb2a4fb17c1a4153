#pragma once

#include "AudioFile.h"

#include "host/dx/platform/CBaseFilter.h"
#include "host/dx/platform/CBaseInputPin.h"

class AudioSink;

class AudioSinkPin : public CBaseInputPin {
public:
    AudioSinkPin(AudioSink* sink, CCritSec* lock, HRESULT* phr);
    // Stereo 16-bit PCM or 32-bit float.
    HRESULT CheckMediaType(const CMediaType* mt) override;
    // [audio thread] Writes the sample's frames to the file.
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;

private:
    AudioSink* const sink_;
};

// The host's sink: one input pin taking the filter's stereo output and writing
// it to an audio file as it arrives, so memory does not grow with the length.
// It can stop taking frames after a given count (a capped tail).
class AudioSink : public CBaseFilter {
public:
    // A new sink writing to `file` (opened by the caller), with one reference.
    static AudioSink* create(AudioFile& file, long long frame_limit);

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &pin_ : nullptr; }

    AudioSinkPin* input() { return &pin_; }
    bool ended() const { return ended_; }
    bool failed() const { return failed_; }
    long long frames() const { return frames_; }
    float peak() const { return peak_; }

private:
    friend class AudioSinkPin;
    AudioSink(AudioFile& file, long long frame_limit);
    void take(const BYTE* data, long bytes);

    CCritSec lock_;
    AudioFile& file_;
    long long frame_limit_;
    AudioSinkPin pin_;
    long long frames_ = 0;
    float peak_ = 0.0f;
    bool ended_ = false;
    bool failed_ = false;
};
