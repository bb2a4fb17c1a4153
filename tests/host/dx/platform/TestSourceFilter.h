// A source filter for tests and hosts: one output pin offering one audio type,
// pushing caller-supplied bytes downstream through the agreed allocator.
#pragma once

#include "host/dx/platform/CBaseOutputPin.h"

class TestSourceFilter;

class TestSourcePin : public dshow::CBaseOutputPin {
public:
    TestSourcePin(TestSourceFilter* filter, dshow::CCritSec* lock, HRESULT* phr);

    // Only the filter's own type.
    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    // Position 0: the filter's type.
    HRESULT GetMediaType(int position, dshow::CMediaType* mt) override;
    // The filter's buffer count and size, at least what the input pin asked for.
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

private:
    TestSourceFilter* const m_source;
};

class TestSourceFilter : public dshow::CBaseFilter {
public:
    // A new source with one reference for the caller.
    static TestSourceFilter* create(const dshow::CMediaType& type, LONG buffers, LONG buffer_size);

    int GetPinCount() override { return 1; }
    dshow::CBasePin* GetPin(int n) override;

    // [audio thread] Sends bytes as samples of at most one buffer each,
    // the first carrying the times given (none when start is null).
    HRESULT push(const BYTE* data, LONG bytes, REFERENCE_TIME* start, REFERENCE_TIME* stop);
    HRESULT end_of_stream() { return m_pin.DeliverEndOfStream(); }
    HRESULT begin_flush() { return m_pin.DeliverBeginFlush(); }
    HRESULT end_flush() { return m_pin.DeliverEndFlush(); }
    HRESULT new_segment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
        return m_pin.DeliverNewSegment(start, stop, rate);
    }

    TestSourcePin* output() { return &m_pin; }
    const dshow::CMediaType& type() const { return m_type; }
    LONG buffers() const { return m_buffers; }
    LONG buffer_size() const { return m_buffer_size; }

private:
    TestSourceFilter(const dshow::CMediaType& type, LONG buffers, LONG buffer_size);

    dshow::CCritSec m_lock;
    dshow::CMediaType m_type;
    LONG m_buffers;
    LONG m_buffer_size;
    TestSourcePin m_pin;
};
