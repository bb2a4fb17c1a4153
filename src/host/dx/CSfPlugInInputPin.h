#pragma once

#include "host/dx/platform/CTransformInputPin.h"

namespace host::dx {

class CSfPlugIn;

// The filter's input pin "Input" (id "In"). It takes a new type while the
// output is connected when downstream would accept the output type that
// input needs.
class CSfPlugInInputPin : public dshow::CTransformInputPin {
public:
    CSfPlugInInputPin(CSfPlugIn* filter, HRESULT* phr);

    // [editor thread] CheckInputType; with a connected output that the type
    // does not fit, the downstream pin's QueryAccept of the matching output type.
    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    // [any thread] "In", in task memory.
    STDMETHODIMP QueryId(LPWSTR* id) override;
    // [any thread]
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }

private:
    CSfPlugIn* const m_plugin;
};

} // namespace host::dx
