#include "host/dx/platform/CBaseInputPin.h"
#include "host/dx/platform/CMemAllocator.h"

namespace dshow {

CBaseInputPin::CBaseInputPin(const char* object_name, CBaseFilter* filter, CCritSec* lock,
                             HRESULT* phr, LPCWSTR name)
    : CBasePin(object_name, filter, lock, phr, name, PINDIR_INPUT) {}

CBaseInputPin::~CBaseInputPin() {
    if (m_pAllocator != nullptr) {
        m_pAllocator->Release();
    }
}

STDMETHODIMP CBaseInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IMemInputPin)) {
        return GetInterface(static_cast<IMemInputPin*>(this), ppv);
    }
    return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseInputPin::GetAllocator(IMemAllocator** allocator) {
    if (allocator == nullptr) {
        return E_POINTER;
    }
    CAutoLock lock(m_pLock);
    if (m_pAllocator == nullptr) {
        const HRESULT hr = CMemAllocator::CreateAllocator(&m_pAllocator);
        if (FAILED(hr)) {
            *allocator = nullptr;
            return hr;
        }
    }
    *allocator = m_pAllocator;
    m_pAllocator->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL) {
    if (allocator == nullptr) {
        return E_POINTER;
    }
    CAutoLock lock(m_pLock);
    allocator->AddRef();
    if (m_pAllocator != nullptr) {
        m_pAllocator->Release();
    }
    m_pAllocator = allocator;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) {
    return E_NOTIMPL;
}

STDMETHODIMP CBaseInputPin::Receive(IMediaSample* sample) {
    if (sample == nullptr) {
        return E_POINTER;
    }
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK) {
        return hr;
    }
    AM_MEDIA_TYPE* changed = nullptr;
    if (sample->GetMediaType(&changed) == S_OK && changed != nullptr) {
        const CMediaType type(*changed);
        DeleteMediaType(changed);
        if (CheckMediaType(&type) != S_OK) {
            // Streaming cannot go on with a type this pin refuses.
            m_bRunTimeError = true;
            return VFW_E_INVALIDMEDIATYPE;
        }
    }
    return S_OK;
}

STDMETHODIMP CBaseInputPin::ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) {
    if (samples == nullptr || processed == nullptr) {
        return E_POINTER;
    }
    HRESULT hr = S_OK;
    *processed = 0;
    while (*processed < count) {
        hr = Receive(samples[*processed]);
        if (hr != S_OK) {
            break;
        }
        ++*processed;
    }
    return hr;
}

STDMETHODIMP CBaseInputPin::ReceiveCanBlock() {
    int outputs = 0;
    const int count = m_pFilter->GetPinCount();
    for (int i = 0; i < count; ++i) {
        CBasePin* pin = m_pFilter->GetPin(i);
        PIN_DIRECTION dir = PINDIR_INPUT;
        if (pin == nullptr || FAILED(pin->QueryDirection(&dir)) || dir != PINDIR_OUTPUT) {
            continue;
        }
        ++outputs;
        IPin* peer = pin->GetConnected();
        IMemInputPin* input = nullptr;
        if (peer == nullptr ||
            FAILED(peer->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input)))) {
            continue;
        }
        const HRESULT hr = input->ReceiveCanBlock();
        input->Release();
        if (hr != S_FALSE) {
            return S_OK;
        }
    }
    return outputs == 0 ? S_OK : S_FALSE;
}

STDMETHODIMP CBaseInputPin::BeginFlush() {
    CAutoLock lock(m_pLock);
    m_bFlushing = TRUE;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::EndFlush() {
    CAutoLock lock(m_pLock);
    m_bFlushing = FALSE;
    m_bRunTimeError = false;
    return S_OK;
}

HRESULT CBaseInputPin::BreakConnect() {
    if (m_pAllocator != nullptr) {
        m_pAllocator->Decommit();
        m_pAllocator->Release();
        m_pAllocator = nullptr;
    }
    return S_OK;
}

HRESULT CBaseInputPin::Inactive() {
    m_bRunTimeError = false;
    m_bFlushing = FALSE;
    if (m_pAllocator == nullptr) {
        return VFW_E_NO_ALLOCATOR;
    }
    return m_pAllocator->Decommit();
}

HRESULT CBaseInputPin::CheckStreaming() {
    if (!IsConnected()) {
        return VFW_E_NOT_CONNECTED;
    }
    if (m_bFlushing) {
        return S_FALSE;
    }
    if (IsStopped()) {
        return VFW_E_WRONG_STATE;
    }
    if (m_bRunTimeError) {
        return VFW_E_RUNTIME_ERROR;
    }
    return S_OK;
}

} // namespace dshow
