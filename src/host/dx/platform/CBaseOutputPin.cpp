#include "host/dx/platform/CBaseOutputPin.h"
#include "host/dx/platform/CMemAllocator.h"

namespace dshow {

CBaseOutputPin::CBaseOutputPin(const char* object_name, CBaseFilter* filter, CCritSec* lock,
                               HRESULT* phr, LPCWSTR name)
    : CBasePin(object_name, filter, lock, phr, name, PINDIR_OUTPUT) {}

CBaseOutputPin::~CBaseOutputPin() {
    BreakConnect();
}

HRESULT CBaseOutputPin::CompleteConnect(IPin*) {
    return DecideAllocator(m_pInputPin, &m_pAllocator);
}

HRESULT CBaseOutputPin::CheckConnect(IPin* pin) {
    HRESULT hr = CBasePin::CheckConnect(pin);
    if (FAILED(hr)) {
        return hr;
    }
    hr = pin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&m_pInputPin));
    return FAILED(hr) ? E_NOINTERFACE : S_OK;
}

HRESULT CBaseOutputPin::BreakConnect() {
    if (m_pAllocator != nullptr) {
        m_pAllocator->Decommit();
        m_pAllocator->Release();
        m_pAllocator = nullptr;
    }
    if (m_pInputPin != nullptr) {
        m_pInputPin->Release();
        m_pInputPin = nullptr;
    }
    return S_OK;
}

HRESULT CBaseOutputPin::Active() {
    return m_pAllocator != nullptr ? m_pAllocator->Commit() : VFW_E_NO_ALLOCATOR;
}

HRESULT CBaseOutputPin::Inactive() {
    CBasePin::Inactive();
    return m_pAllocator != nullptr ? m_pAllocator->Decommit() : VFW_E_NO_ALLOCATOR;
}

HRESULT CBaseOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) {
    ALLOCATOR_PROPERTIES request{0, 0, 0, 0};
    pin->GetAllocatorRequirements(&request);
    if (request.cbAlign == 0) {
        request.cbAlign = 1;
    }
    // Sizes the allocator got and tells the pin; drops it on failure.
    const auto settle = [&](HRESULT hr) {
        if (SUCCEEDED(hr)) {
            hr = DecideBufferSize(*allocator, &request);
        }
        if (SUCCEEDED(hr)) {
            hr = pin->NotifyAllocator(*allocator, FALSE);
        }
        if (FAILED(hr) && *allocator != nullptr) {
            (*allocator)->Release();
            *allocator = nullptr;
        }
        return hr;
    };
    *allocator = nullptr;
    const HRESULT hr = settle(pin->GetAllocator(allocator));
    return SUCCEEDED(hr) ? hr : settle(InitAllocator(allocator));
}

HRESULT CBaseOutputPin::InitAllocator(IMemAllocator** allocator) {
    return CMemAllocator::CreateAllocator(allocator);
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start,
                                          REFERENCE_TIME* stop, DWORD flags) {
    if (m_pAllocator == nullptr) {
        return E_NOINTERFACE;
    }
    return m_pAllocator->GetBuffer(sample, start, stop, flags);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample) {
    return m_pInputPin != nullptr ? m_pInputPin->Receive(sample) : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndOfStream() {
    return m_Connected != nullptr ? m_Connected->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverBeginFlush() {
    return m_Connected != nullptr ? m_Connected->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndFlush() {
    return m_Connected != nullptr ? m_Connected->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    return m_Connected != nullptr ? m_Connected->NewSegment(start, stop, rate)
                                  : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP CBaseOutputPin::EndOfStream() {
    return E_UNEXPECTED;
}

STDMETHODIMP CBaseOutputPin::BeginFlush() {
    return E_UNEXPECTED;
}

STDMETHODIMP CBaseOutputPin::EndFlush() {
    return E_UNEXPECTED;
}

} // namespace dshow
