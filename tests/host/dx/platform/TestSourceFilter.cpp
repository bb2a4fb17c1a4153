#include "TestSourceFilter.h"

#include <algorithm>
#include <cstring>

using namespace dshow;

// The source is never registered; its class id only identifies it.
static const CLSID clsid_test_source = {
    0x5A1E0001, 0x0000, 0x4000, {0x80, 0x00, 0x51, 0x55, 0x45, 0x56, 0x52, 0x01}};

TestSourcePin::TestSourcePin(TestSourceFilter* filter, CCritSec* lock, HRESULT* phr)
    : CBaseOutputPin("TestSourcePin", filter, lock, phr, WIDE_TEXT("Out")), m_source(filter) {}

HRESULT TestSourcePin::CheckMediaType(const CMediaType* mt) {
    return *mt == m_source->type() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT TestSourcePin::GetMediaType(int position, CMediaType* mt) {
    if (position < 0) {
        return E_INVALIDARG;
    }
    if (position > 0) {
        return VFW_S_NO_MORE_ITEMS;
    }
    return mt->Set(m_source->type());
}

HRESULT TestSourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    request->cBuffers = std::max(request->cBuffers, m_source->buffers());
    request->cbBuffer = std::max(request->cbBuffer, m_source->buffer_size());
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) {
        return hr;
    }
    return actual.cbBuffer < request->cbBuffer ? E_FAIL : S_OK;
}

TestSourceFilter::TestSourceFilter(const CMediaType& type, LONG buffers, LONG buffer_size)
    : CBaseFilter("TestSourceFilter", nullptr, &m_lock, clsid_test_source), m_type(type),
      m_buffers(buffers), m_buffer_size(buffer_size), m_pin(this, &m_lock, nullptr) {}

TestSourceFilter* TestSourceFilter::create(const CMediaType& type, LONG buffers, LONG buffer_size) {
    auto* filter = new TestSourceFilter(type, buffers, buffer_size);
    filter->AddRef();
    return filter;
}

CBasePin* TestSourceFilter::GetPin(int n) {
    return n == 0 ? &m_pin : nullptr;
}

HRESULT TestSourceFilter::push(const BYTE* data, LONG bytes, REFERENCE_TIME* start,
                               REFERENCE_TIME* stop) {
    HRESULT hr = S_OK;
    bool first = true;
    do {
        IMediaSample* sample = nullptr;
        hr = m_pin.GetDeliveryBuffer(&sample, first ? start : nullptr, first ? stop : nullptr, 0);
        if (FAILED(hr)) {
            return hr;
        }
        BYTE* buffer = nullptr;
        sample->GetPointer(&buffer);
        const LONG length = std::min(bytes, sample->GetSize());
        std::memcpy(buffer, data, length);
        sample->SetActualDataLength(length);
        sample->SetSyncPoint(TRUE);
        hr = m_pin.Deliver(sample);
        sample->Release();
        data += length;
        bytes -= length;
        first = false;
    } while (hr == S_OK && bytes > 0);
    return hr;
}
