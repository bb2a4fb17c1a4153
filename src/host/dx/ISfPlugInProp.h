// The filter's private interface, through which its property page reaches the
// adapter core: the persisted state block, the negotiated formats, the window
// notifications and the plug-in core objects.
#pragma once

#include "host/dx/platform/com.h"

namespace mppi {
class DspInterface;
class GuiInterface;
} // namespace mppi
namespace pengui {
class WindowInterface;
}

namespace host::dx {

struct ISfPlugInProp : IUnknown {
    static constexpr int state_block_size = 4096;

    // [any thread] Copies the 4096-byte state block out, under the filter's lock.
    STDMETHOD(GetStateBlock)(BYTE* block) PURE;
    // [any thread] Copies 4096 bytes in, under the lock, and marks the filter dirty.
    STDMETHOD(SetStateBlock)(const BYTE* block) PURE;
    // [any thread] Pin 0: the input format, 1: the output format;
    // VFW_E_NOT_CONNECTED for another pin or a format not set yet.
    STDMETHOD(GetPinFormat)(WAVEFORMATEX* format, int pin) PURE;
    // [any thread] Registers a window to be told of format and program changes
    // with WM_COMMAND (wParam = code << 16 | id); id 0 removes it. At most two
    // windows: a third gives E_OUTOFMEMORY.
    STDMETHOD(SetNotifyWindow)(HWND window, WORD id) PURE;
    // [any thread] The plug-in core's DSP object, owned by the filter.
    STDMETHOD_(mppi::DspInterface*, GetDsp)() PURE;
    // [any thread] The plug-in core's GUI object, owned by the filter. Its
    // window, skin and scene exist once GetEditorWindow has made them.
    STDMETHOD_(mppi::GuiInterface*, GetGui)() PURE;
    // [editor thread] The editor's window, made with the editor's skin and
    // scene at the first call; null when they could not be made.
    STDMETHOD_(pengui::WindowInterface*, GetEditorWindow)() PURE;
    // [any thread] TRUE when the filter was made without a DSP.
    STDMETHOD_(BOOL, HasNoDsp)() PURE;

protected:
    ~ISfPlugInProp() = default;
};

} // namespace host::dx
