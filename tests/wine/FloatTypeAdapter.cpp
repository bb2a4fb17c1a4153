#include "FloatTypeAdapter.h"

#include "host/dx/platform/AudioTypes.h"
#include "host/dx/platform/CTransformInputPin.h"

#include <cstring>

// {5A1E0004-0000-4000-8000-515545565204}
static const CLSID clsid_float_type_adapter = {
    0x5A1E0004, 0x0000, 0x4000, {0x80, 0x00, 0x51, 0x55, 0x45, 0x56, 0x52, 0x04}};

FloatTypeAdapter::FloatTypeAdapter()
    : CTransformFilter("FloatTypeAdapter", nullptr, clsid_float_type_adapter) {}

FloatTypeAdapter* FloatTypeAdapter::create() {
    auto* adapter = new FloatTypeAdapter();
    adapter->AddRef();
    return adapter;
}

HRESULT FloatTypeAdapter::CheckInputType(const CMediaType* in) {
    const WAVEFORMATEX* format = wave_format(*in);
    return IsEqualGUID(*in->Type(), MEDIATYPE_Audio) &&
                   IsEqualGUID(*in->Subtype(), MEDIASUBTYPE_IEEE_FLOAT) && format != nullptr &&
                   format->wBitsPerSample == 32
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT FloatTypeAdapter::CheckTransform(const CMediaType* in, const CMediaType* out) {
    const WAVEFORMATEX* from = wave_format(*in);
    const WAVEFORMATEX* to = wave_format(*out);
    return from != nullptr && to != nullptr && to->wFormatTag == WAVE_FORMAT_IEEE_FLOAT &&
                   to->nChannels == from->nChannels && to->nSamplesPerSec == from->nSamplesPerSec
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT FloatTypeAdapter::GetMediaType(int position, CMediaType* mt) {
    if (!m_pInput->IsConnected()) {
        return E_UNEXPECTED;
    }
    if (position < 0) {
        return E_INVALIDARG;
    }
    if (position > 0) {
        return VFW_S_NO_MORE_ITEMS;
    }
    const WAVEFORMATEX* in = wave_format(m_pInput->CurrentMediaType());
    *mt = make_audio_type(WAVE_FORMAT_IEEE_FLOAT, in->nChannels, in->nSamplesPerSec, 32);
    return S_OK;
}

HRESULT FloatTypeAdapter::DecideBufferSize(IMemAllocator* allocator,
                                           ALLOCATOR_PROPERTIES* request) {
    IMemAllocator* upstream = nullptr;
    HRESULT hr = m_pInput->GetAllocator(&upstream);
    if (FAILED(hr)) {
        return hr;
    }
    hr = upstream->GetProperties(request);
    upstream->Release();
    ALLOCATOR_PROPERTIES actual{};
    return SUCCEEDED(hr) ? allocator->SetProperties(request, &actual) : hr;
}

HRESULT FloatTypeAdapter::Transform(IMediaSample* in, IMediaSample* out) {
    BYTE* from = nullptr;
    BYTE* to = nullptr;
    in->GetPointer(&from);
    out->GetPointer(&to);
    const LONG length = in->GetActualDataLength();
    if (length > out->GetSize()) {
        return E_FAIL;
    }
    std::memcpy(to, from, static_cast<std::size_t>(length));
    return out->SetActualDataLength(length);
}
