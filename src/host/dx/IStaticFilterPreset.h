// The host's view of the filter's built-in programs (IID_IStaticFilterPreset).
#pragma once

#include "host/dx/platform/com.h"

namespace host::dx {

struct IStaticFilterPreset : IUnknown {
    // [editor thread] The number of built-in programs.
    STDMETHOD(GetPresetCount)(LONG* count) PURE;
    // [editor thread] The name of program index as wide text, terminated, in a
    // buffer of capacity characters; E_INVALIDARG outside [0, count).
    STDMETHOD(GetPresetName)(LONG index, LPWSTR name, LONG capacity) PURE;
    // [editor thread] Applies program index with the priority of a host preset.
    STDMETHOD(SetPreset)(LONG index) PURE;

protected:
    ~IStaticFilterPreset() = default;
};

} // namespace host::dx
