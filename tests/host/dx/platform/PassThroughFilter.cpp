#include "PassThroughFilter.h"

#include <cstring>
#include <new>

using namespace dshow;

const CLSID CLSID_PassThroughFilter = {
    0x5A1E0003, 0x0000, 0x4000, {0x80, 0x00, 0x51, 0x55, 0x45, 0x56, 0x52, 0x03}};

namespace {

const AMOVIESETUP_MEDIATYPE audio_types[] = {{&MEDIATYPE_Audio, &GUID_NULL}};
const AMOVIESETUP_PIN pins[] = {
    {const_cast<LPWSTR>(WIDE_TEXT("Input")), FALSE, FALSE, FALSE, FALSE, &GUID_NULL,
     WIDE_TEXT("Output"), 1, audio_types},
    {const_cast<LPWSTR>(WIDE_TEXT("Output")), FALSE, TRUE, FALSE, FALSE, &GUID_NULL,
     WIDE_TEXT("Input"), 1, audio_types},
};

} // namespace

const AMOVIESETUP_FILTER pass_through_setup = {
    &CLSID_PassThroughFilter, WIDE_TEXT("Test - Pass Through"), MERIT_DO_NOT_USE, 2, pins};

PassThroughInputPin::PassThroughInputPin(PassThroughFilter* filter, HRESULT* phr)
    : CTransformInputPin("PassThroughInputPin", filter, phr, WIDE_TEXT("Input")) {}

HRESULT PassThroughInputPin::CheckMediaType(const CMediaType* mt) {
    HRESULT hr = m_pTransformFilter->CheckInputType(mt);
    if (hr != S_OK) {
        return hr;
    }
    auto* filter = static_cast<PassThroughFilter*>(m_pTransformFilter);
    CTransformOutputPin* output = filter->output();
    if (output == nullptr || !output->IsConnected() ||
        filter->CheckTransform(mt, &output->CurrentMediaType()) == S_OK) {
        return S_OK;
    }
    // The output would carry this very type after a reconnect.
    return output->GetConnected()->QueryAccept(mt);
}

STDMETHODIMP PassThroughInputPin::QueryId(LPWSTR* id) {
    if (id == nullptr) {
        return E_POINTER;
    }
    static const WCHAR name[] = WIDE_TEXT("In");
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof name));
    if (*id == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(*id, name, sizeof name);
    return S_OK;
}

STDMETHODIMP PassThroughInputPin::QueryInternalConnections(IPin**, ULONG*) {
    return E_NOTIMPL;
}

CUnknown* PassThroughFilter::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
    auto* filter = new (std::nothrow) PassThroughFilter(outer, phr);
    if (filter == nullptr) {
        *phr = E_OUTOFMEMORY;
    }
    return filter;
}

PassThroughFilter::PassThroughFilter(LPUNKNOWN outer, HRESULT*)
    : CTransformFilter("PassThroughFilter", outer, CLSID_PassThroughFilter) {}

CBasePin* PassThroughFilter::GetPin(int n) {
    HRESULT hr = S_OK;
    if (m_pInput == nullptr) {
        m_pInput = new (std::nothrow) PassThroughInputPin(this, &hr);
    }
    if (m_pOutput == nullptr) {
        m_pOutput = new (std::nothrow)
            CTransformOutputPin("PassThroughOutputPin", this, &hr, WIDE_TEXT("Output"));
    }
    return n == 0 ? static_cast<CBasePin*>(m_pInput) : n == 1 ? m_pOutput : nullptr;
}

HRESULT PassThroughFilter::CheckInputType(const CMediaType* in) {
    const bool ok = IsEqualGUID(*in->Type(), MEDIATYPE_Audio) && !in->IsTemporalCompressed() &&
                    IsEqualGUID(*in->FormatType(), FORMAT_WaveFormatEx) && in->FormatLength() >= 16;
    return ok ? S_OK : E_INVALIDARG;
}

HRESULT PassThroughFilter::CheckTransform(const CMediaType* in, const CMediaType* out) {
    return *in == *out ? S_OK : E_INVALIDARG;
}

HRESULT PassThroughFilter::GetMediaType(int position, CMediaType* mt) {
    if (!m_pInput->IsConnected()) {
        return E_UNEXPECTED;
    }
    if (position < 0) {
        return E_INVALIDARG;
    }
    if (position > 0) {
        return VFW_S_NO_MORE_ITEMS;
    }
    return mt->Set(m_pInput->CurrentMediaType());
}

HRESULT PassThroughFilter::DecideBufferSize(IMemAllocator* allocator,
                                            ALLOCATOR_PROPERTIES* request) {
    IMemAllocator* upstream = nullptr;
    if (m_pInput->IsConnected() && SUCCEEDED(m_pInput->GetAllocator(&upstream))) {
        ALLOCATOR_PROPERTIES props{};
        upstream->GetProperties(&props);
        upstream->Release();
        request->cBuffers = props.cBuffers;
        request->cbBuffer = props.cbBuffer;
    }
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr)) {
        return hr;
    }
    return actual.cbBuffer < 1 ? E_FAIL : S_OK;
}

HRESULT PassThroughFilter::Transform(IMediaSample* in, IMediaSample* out) {
    BYTE* source = nullptr;
    BYTE* target = nullptr;
    in->GetPointer(&source);
    out->GetPointer(&target);
    const LONG length = in->GetActualDataLength();
    if (length > out->GetSize()) {
        return E_FAIL;
    }
    std::memcpy(target, source, length);
    return out->SetActualDataLength(length);
}

HRESULT PassThroughFilter::CompleteConnect(PIN_DIRECTION dir, IPin*) {
    if (dir == PINDIR_INPUT && m_pOutput->IsConnected() &&
        CheckTransform(&m_pInput->CurrentMediaType(), &m_pOutput->CurrentMediaType()) != S_OK) {
        return ReconnectPin(m_pOutput, nullptr);
    }
    return S_OK;
}

HRESULT PassThroughFilter::SetMediaType(PIN_DIRECTION, const CMediaType*) {
    ++m_media_types_set;
    return S_OK;
}

HRESULT PassThroughFilter::StartStreaming() {
    ++m_start_count;
    return S_OK;
}

HRESULT PassThroughFilter::StopStreaming() {
    ++m_stop_count;
    return S_OK;
}
