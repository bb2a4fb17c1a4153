#include "host/dx/platform/CTransformInputPin.h"
#include "host/dx/platform/CTransformFilter.h"
#include "host/dx/platform/CTransformOutputPin.h"

namespace dshow {

CTransformInputPin::CTransformInputPin(const char* object_name, CTransformFilter* filter,
                                       HRESULT* phr, LPCWSTR name)
    : CBaseInputPin(object_name, filter, &filter->m_csFilter, phr, name),
      m_pTransformFilter(filter) {}

HRESULT CTransformInputPin::CheckMediaType(const CMediaType* mt) {
    HRESULT hr = m_pTransformFilter->CheckInputType(mt);
    if (hr != S_OK) {
        return hr;
    }
    CTransformOutputPin* output = m_pTransformFilter->m_pOutput;
    if (output != nullptr && output->IsConnected()) {
        hr = m_pTransformFilter->CheckTransform(mt, &output->CurrentMediaType());
    }
    return hr;
}

HRESULT CTransformInputPin::SetMediaType(const CMediaType* mt) {
    const HRESULT hr = CBaseInputPin::SetMediaType(mt);
    return FAILED(hr) ? hr : m_pTransformFilter->SetMediaType(PINDIR_INPUT, mt);
}

HRESULT CTransformInputPin::CheckConnect(IPin* pin) {
    const HRESULT hr = m_pTransformFilter->CheckConnect(PINDIR_INPUT, pin);
    return FAILED(hr) ? hr : CBaseInputPin::CheckConnect(pin);
}

HRESULT CTransformInputPin::BreakConnect() {
    m_pTransformFilter->BreakConnect(PINDIR_INPUT);
    return CBaseInputPin::BreakConnect();
}

HRESULT CTransformInputPin::CompleteConnect(IPin* receive_pin) {
    const HRESULT hr = m_pTransformFilter->CompleteConnect(PINDIR_INPUT, receive_pin);
    return FAILED(hr) ? hr : CBaseInputPin::CompleteConnect(receive_pin);
}

HRESULT CTransformInputPin::CheckStreaming() {
    CTransformOutputPin* output = m_pTransformFilter->m_pOutput;
    if (output == nullptr || !output->IsConnected()) {
        return VFW_E_NOT_CONNECTED;
    }
    return CBaseInputPin::CheckStreaming();
}

STDMETHODIMP CTransformInputPin::Receive(IMediaSample* sample) {
    CAutoLock lock(&m_pTransformFilter->m_csReceive);
    const HRESULT hr = CBaseInputPin::Receive(sample);
    return hr == S_OK ? m_pTransformFilter->Receive(sample) : hr;
}

STDMETHODIMP CTransformInputPin::EndOfStream() {
    CAutoLock lock(&m_pTransformFilter->m_csReceive);
    const HRESULT hr = CheckStreaming();
    return hr == S_OK ? m_pTransformFilter->EndOfStream() : hr;
}

STDMETHODIMP CTransformInputPin::BeginFlush() {
    CAutoLock lock(&m_pTransformFilter->m_csFilter);
    CTransformOutputPin* output = m_pTransformFilter->m_pOutput;
    if (!IsConnected() || output == nullptr || !output->IsConnected()) {
        return VFW_E_NOT_CONNECTED;
    }
    const HRESULT hr = CBaseInputPin::BeginFlush();
    return FAILED(hr) ? hr : m_pTransformFilter->BeginFlush();
}

STDMETHODIMP CTransformInputPin::EndFlush() {
    CAutoLock lock(&m_pTransformFilter->m_csFilter);
    CTransformOutputPin* output = m_pTransformFilter->m_pOutput;
    if (!IsConnected() || output == nullptr || !output->IsConnected()) {
        return VFW_E_NOT_CONNECTED;
    }
    const HRESULT hr = m_pTransformFilter->EndFlush();
    return FAILED(hr) ? hr : CBaseInputPin::EndFlush();
}

STDMETHODIMP CTransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop,
                                            double rate) {
    CBasePin::NewSegment(start, stop, rate);
    return m_pTransformFilter->NewSegment(start, stop, rate);
}

} // namespace dshow
