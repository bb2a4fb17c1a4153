// The input pin of a CTransformFilter: passes negotiation and streaming to the filter.
#pragma once

#include "host/dx/platform/CBaseInputPin.h"

namespace dshow {

class CTransformFilter;

class CTransformInputPin : public CBaseInputPin {
public:
    CTransformInputPin(const char* object_name, CTransformFilter* filter, HRESULT* phr,
                       LPCWSTR name);

    // [editor thread] CheckInputType, then CheckTransform against a connected output.
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT SetMediaType(const CMediaType* mt) override;
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* receive_pin) override;
    // Also requires the output to be connected.
    HRESULT CheckStreaming() override;

    // [audio thread] Under the filter's receive lock.
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    // [editor thread] Both pins must be connected.
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

protected:
    CTransformFilter* const m_pTransformFilter;
};

} // namespace dshow
