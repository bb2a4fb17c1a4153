// The renderer at the end of the Wine test graphs: one input pin taking 16-bit
// PCM or 32-bit float audio, keeping what it receives and writing it to a WAV
// file at the end of the stream, then telling the graph the stream is complete.
#pragma once

#include "WavFile.h"

#include "host/dx/platform/CBaseFilter.h"
#include "host/dx/platform/CBaseInputPin.h"

#include <string>
#include <vector>

class WavSinkFilter;

class WavSinkPin : public dshow::CBaseInputPin {
public:
    WavSinkPin(WavSinkFilter* filter, dshow::CCritSec* lock, HRESULT* phr);

    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    // [audio thread] Keeps the sample's bytes and notes its length.
    STDMETHODIMP Receive(IMediaSample* sample) override;
    // [audio thread] Writes the file and notifies EC_COMPLETE.
    STDMETHODIMP EndOfStream() override;
    // [while connected] Bytes each buffer of the agreed allocator holds: the
    // filter's output buffers, in which it also renders its tail.
    LONG allocator_bytes();

private:
    WavSinkFilter* const m_sink;
};

class WavSinkFilter : public dshow::CBaseFilter, public IAMFilterMiscFlags {
public:
    // A new sink with one reference, writing to path (a Windows path).
    static WavSinkFilter* create(const std::string& path);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    // The graph counts the filter among its renderers, whose EC_COMPLETE it awaits.
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int n) override;
    WavSinkPin* input() { return &m_pin; }

    // [after the run] The bytes of every sample received, in order, and
    // whether it carried times (the filter times only the first output
    // sample of each input sample, so these mark where input samples began).
    const std::vector<LONG>& sample_lengths() const { return m_lengths; }
    const std::vector<bool>& sample_timed() const { return m_timed; }
    // [after the run] What was written at the end of the stream.
    const WavFile& received() const { return m_wav; }
    bool written() const { return m_written; }

private:
    friend class WavSinkPin;
    explicit WavSinkFilter(const std::string& path);

    dshow::CCritSec m_lock;
    WavSinkPin m_pin;
    std::string m_path;
    WavFile m_wav;
    std::vector<LONG> m_lengths;
    std::vector<bool> m_timed;
    bool m_written = false;
};
