#pragma once

#include "AudioFile.h"

#include "host/dx/platform/CBaseFilter.h"
#include "host/dx/platform/CBaseInputPin.h"

#include <vector>

class AudioSink;

class AudioSinkPin : public dshow::CBaseInputPin {
public:
    AudioSinkPin(AudioSink* sink, dshow::CCritSec* lock, HRESULT* phr);
    // Stereo 16-bit PCM or 32-bit float.
    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    // [audio thread] Writes the sample's frames to the file.
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;

private:
    AudioSink* const sink_;
};

// The host's sink: one input pin taking the filter's stereo output and writing
// it to an audio file as it arrives, so memory does not grow with the length.
// Once told where the input ended, it keeps a tail of a given length after it,
// or, trimming, only the tail up to its last audible frame: then the frames
// after the last audible one wait in memory until a louder frame comes or the
// stream ends, at most the longest tail.
class AudioSink : public dshow::CBaseFilter {
public:
    // Above this a float sample is audible (-120 dBFS); any 16-bit sample but 0 is.
    static constexpr float audible = 1e-6f;

    // A new sink writing to `file` (opened by the caller), with one reference;
    // it keeps at most `tail_frames` after the input's end, and with `trim`
    // nothing after the tail's last audible frame.
    static AudioSink* create(AudioFile& file, long long tail_frames, bool trim);

    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int n) override { return n == 0 ? &pin_ : nullptr; }

    // [streaming thread] The input ends after the frames received so far.
    void end_input() { input_end_ = received_; }

    AudioSinkPin* input() { return &pin_; }
    bool ended() const { return ended_; }
    bool failed() const { return failed_; }
    float peak() const { return peak_; }
    // 16-bit samples written at full scale: where the filter clipped.
    long long clipped() const { return clipped_; }

private:
    friend class AudioSinkPin;
    AudioSink(AudioFile& file, long long tail_frames, bool trim);
    void take(const BYTE* data, long count);
    // The block's frames up to its last audible one.
    long audible_frames(const BYTE* data, long count) const;
    void write(const BYTE* data, long count);

    dshow::CCritSec lock_;
    AudioFile& file_;
    const long long tail_frames_;
    const bool trim_;
    const int frame_bytes_;
    AudioSinkPin pin_;
    long long input_end_ = -1; // unknown until end_input()
    long long received_ = 0;
    std::vector<BYTE> quiet_; // tail frames after the last audible one, not yet written
    float peak_ = 0.0f;
    long long clipped_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};
