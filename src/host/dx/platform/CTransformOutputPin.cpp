#include "host/dx/platform/CTransformOutputPin.h"
#include "host/dx/platform/CTransformFilter.h"
#include "host/dx/platform/CTransformInputPin.h"

namespace dshow {

CTransformOutputPin::CTransformOutputPin(const char* object_name, CTransformFilter* filter,
                                         HRESULT* phr, LPCWSTR name)
    : CBaseOutputPin(object_name, filter, &filter->m_csFilter, phr, name),
      m_pTransformFilter(filter) {}

HRESULT CTransformOutputPin::CheckMediaType(const CMediaType* mt) {
    CTransformInputPin* input = m_pTransformFilter->m_pInput;
    if (input == nullptr || !input->IsConnected()) {
        return E_UNEXPECTED;
    }
    return m_pTransformFilter->CheckTransform(&input->CurrentMediaType(), mt);
}

HRESULT CTransformOutputPin::SetMediaType(const CMediaType* mt) {
    const HRESULT hr = CBaseOutputPin::SetMediaType(mt);
    return FAILED(hr) ? hr : m_pTransformFilter->SetMediaType(PINDIR_OUTPUT, mt);
}

HRESULT CTransformOutputPin::CheckConnect(IPin* pin) {
    CTransformInputPin* input = m_pTransformFilter->m_pInput;
    if (input == nullptr || !input->IsConnected()) {
        return E_UNEXPECTED;
    }
    const HRESULT hr = m_pTransformFilter->CheckConnect(PINDIR_OUTPUT, pin);
    return FAILED(hr) ? hr : CBaseOutputPin::CheckConnect(pin);
}

HRESULT CTransformOutputPin::BreakConnect() {
    m_pTransformFilter->BreakConnect(PINDIR_OUTPUT);
    return CBaseOutputPin::BreakConnect();
}

HRESULT CTransformOutputPin::CompleteConnect(IPin* receive_pin) {
    const HRESULT hr = m_pTransformFilter->CompleteConnect(PINDIR_OUTPUT, receive_pin);
    return FAILED(hr) ? hr : CBaseOutputPin::CompleteConnect(receive_pin);
}

HRESULT CTransformOutputPin::DecideBufferSize(IMemAllocator* allocator,
                                              ALLOCATOR_PROPERTIES* request) {
    return m_pTransformFilter->DecideBufferSize(allocator, request);
}

HRESULT CTransformOutputPin::GetMediaType(int position, CMediaType* mt) {
    CTransformInputPin* input = m_pTransformFilter->m_pInput;
    if (input == nullptr || !input->IsConnected()) {
        return VFW_S_NO_MORE_ITEMS;
    }
    return m_pTransformFilter->GetMediaType(position, mt);
}

} // namespace dshow
