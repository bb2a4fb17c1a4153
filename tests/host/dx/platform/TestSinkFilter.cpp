#include "TestSinkFilter.h"
#include "AudioTypes.h"

using namespace dshow;

static const CLSID clsid_test_sink = {
    0x5A1E0002, 0x0000, 0x4000, {0x80, 0x00, 0x51, 0x55, 0x45, 0x56, 0x52, 0x02}};

TestSinkPin::TestSinkPin(TestSinkFilter* filter, CCritSec* lock, HRESULT* phr)
    : CBaseInputPin("TestSinkPin", filter, lock, phr, WIDE_TEXT("In")), m_sink(filter) {}

HRESULT TestSinkPin::CheckMediaType(const CMediaType* mt) {
    const WAVEFORMATEX* format = pcm16_or_float32(*mt);
    const bool channels_ok =
        format != nullptr && (m_sink->m_channels == 0 || format->nChannels == m_sink->m_channels);
    return channels_ok ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

STDMETHODIMP TestSinkPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) {
    props->cbAlign = m_sink->m_align;
    props->cbPrefix = m_sink->m_prefix;
    return S_OK;
}

STDMETHODIMP TestSinkPin::Receive(IMediaSample* sample) {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) {
        return hr;
    }
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    ReceivedSample received{};
    received.data.assign(data, data + sample->GetActualDataLength());
    received.has_time = SUCCEEDED(sample->GetTime(&received.start, &received.stop));
    received.sync_point = sample->IsSyncPoint() == S_OK;
    received.discontinuity = sample->IsDiscontinuity() == S_OK;
    AM_MEDIA_TYPE* type = nullptr;
    received.type_attached = sample->GetMediaType(&type) == S_OK;
    DeleteMediaType(type);
    CAutoLock lock(m_pLock);
    m_sink->m_samples.push_back(std::move(received));
    return S_OK;
}

STDMETHODIMP TestSinkPin::EndOfStream() {
    const HRESULT hr = CheckStreaming();
    if (hr == S_OK) {
        CAutoLock lock(m_pLock);
        ++m_sink->m_end_of_stream_count;
    }
    return hr;
}

STDMETHODIMP TestSinkPin::BeginFlush() {
    CAutoLock lock(m_pLock);
    ++m_sink->m_flush_count;
    return CBaseInputPin::BeginFlush();
}

STDMETHODIMP TestSinkPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    m_sink->m_segment_start = start;
    m_sink->m_segment_rate = rate;
    return CBaseInputPin::NewSegment(start, stop, rate);
}

TestSinkFilter::TestSinkFilter(WORD channels, LONG align, LONG prefix)
    : CBaseFilter("TestSinkFilter", nullptr, &m_lock, clsid_test_sink), m_channels(channels),
      m_align(align), m_prefix(prefix), m_pin(this, &m_lock, nullptr) {}

TestSinkFilter* TestSinkFilter::create(WORD channels, LONG align, LONG prefix) {
    auto* filter = new TestSinkFilter(channels, align, prefix);
    filter->AddRef();
    return filter;
}

CBasePin* TestSinkFilter::GetPin(int n) {
    return n == 0 ? &m_pin : nullptr;
}

std::vector<BYTE> TestSinkFilter::received_bytes() const {
    std::vector<BYTE> bytes;
    for (const ReceivedSample& sample : m_samples) {
        bytes.insert(bytes.end(), sample.data.begin(), sample.data.end());
    }
    return bytes;
}
