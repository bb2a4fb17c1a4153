#include "host/dx/CSfPlugInInputPin.h"

#include "host/dx/CSfPlugIn.h"

#include <cstring>

namespace host::dx {

CSfPlugInInputPin::CSfPlugInInputPin(CSfPlugIn* filter, HRESULT* phr)
    : dshow::CTransformInputPin("Quevrin input pin", filter, phr, WIDE_TEXT("Input")),
      m_plugin(filter) {}

HRESULT CSfPlugInInputPin::CheckMediaType(const dshow::CMediaType* mt) {
    HRESULT hr = m_plugin->CheckInputType(mt);
    if (hr != S_OK) {
        return hr;
    }
    dshow::CBasePin* output = m_plugin->GetPin(1);
    if (output == nullptr || !output->IsConnected() ||
        m_plugin->CheckTransform(mt, &output->CurrentMediaType()) == S_OK) {
        return S_OK;
    }
    // The output would be reconnected with the type this input calls for.
    dshow::CMediaType needed;
    hr = m_plugin->output_type_for(*mt, &needed);
    return FAILED(hr) ? hr : output->GetConnected()->QueryAccept(&needed);
}

STDMETHODIMP CSfPlugInInputPin::QueryId(LPWSTR* id) {
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

} // namespace host::dx
