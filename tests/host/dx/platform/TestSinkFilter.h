// A sink filter for tests and hosts: one input pin accepting audio (PCM or
// float, optionally only one channel count), recording every sample it gets.
#pragma once

#include "host/dx/platform/CBaseInputPin.h"

#include <vector>

struct ReceivedSample {
    std::vector<BYTE> data;
    bool has_time;
    REFERENCE_TIME start;
    REFERENCE_TIME stop;
    bool sync_point;
    bool discontinuity;
    bool type_attached;
};

class TestSinkFilter;

class TestSinkPin : public dshow::CBaseInputPin {
public:
    TestSinkPin(TestSinkFilter* filter, dshow::CCritSec* lock, HRESULT* phr);

    // Audio with a wave format block of 16-bit PCM or 32-bit float.
    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    // Asks for the filter's alignment and prefix.
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    // [audio thread] Records the sample.
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // The allocator agreed on, or null.
    IMemAllocator* allocator() const { return m_pAllocator; }

private:
    TestSinkFilter* const m_sink;
};

class TestSinkFilter : public dshow::CBaseFilter {
public:
    // A new sink with one reference; channels 0 accepts any count.
    static TestSinkFilter* create(WORD channels = 0, LONG align = 1, LONG prefix = 0);

    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int n) override;

    TestSinkPin* input() { return &m_pin; }
    const std::vector<ReceivedSample>& samples() const { return m_samples; }
    // All bytes received, in order.
    std::vector<BYTE> received_bytes() const;
    int end_of_stream_count() const { return m_end_of_stream_count; }
    int flush_count() const { return m_flush_count; }
    double segment_rate() const { return m_segment_rate; }
    REFERENCE_TIME segment_start() const { return m_segment_start; }

private:
    friend class TestSinkPin;
    TestSinkFilter(WORD channels, LONG align, LONG prefix);

    dshow::CCritSec m_lock;
    WORD m_channels;
    LONG m_align;
    LONG m_prefix;
    TestSinkPin m_pin;
    std::vector<ReceivedSample> m_samples;
    int m_end_of_stream_count = 0;
    int m_flush_count = 0;
    double m_segment_rate = 0.0;
    REFERENCE_TIME m_segment_start = 0;
};
