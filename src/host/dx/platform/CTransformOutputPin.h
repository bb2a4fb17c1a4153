// The output pin of a CTransformFilter: offers and checks types through the
// filter, and lets it size the output allocator.
#pragma once

#include "host/dx/platform/CBaseOutputPin.h"

namespace dshow {

class CTransformFilter;

class CTransformOutputPin : public CBaseOutputPin {
public:
    CTransformOutputPin(const char* object_name, CTransformFilter* filter, HRESULT* phr,
                        LPCWSTR name);

    // [editor thread] CheckTransform from the input's type; E_UNEXPECTED without an input.
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT SetMediaType(const CMediaType* mt) override;
    // The input must be connected first (E_UNEXPECTED).
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* receive_pin) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    // The filter's GetMediaType; VFW_S_NO_MORE_ITEMS while the input is unconnected.
    HRESULT GetMediaType(int position, CMediaType* mt) override;

protected:
    CTransformFilter* const m_pTransformFilter;
};

} // namespace dshow
