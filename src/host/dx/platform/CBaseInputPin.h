// An input pin that receives samples through IMemInputPin from the output pin
// it is connected to, in buffers of the allocator the two agreed on.
//
// Threads: an operation without a tag of its own runs on the editor thread
// (graph control); the streaming ones are tagged [audio thread].
#pragma once

#include "host/dx/platform/CBasePin.h"

namespace dshow {

class CBaseInputPin : public CBasePin, public IMemInputPin {
public:
    CBaseInputPin(const char* object_name, CBaseFilter* filter, CCritSec* lock, HRESULT* phr,
                  LPCWSTR name);
    ~CBaseInputPin() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // [editor thread] The agreed allocator, or a new CMemAllocator when none was agreed yet.
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    // [editor thread] The upstream pin tells which allocator it will deliver
    // from. Read-only samples need nothing: the filter never writes its input.
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL read_only) override;
    // No requirements: E_NOTIMPL.
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    // [audio thread] Checks the pin may stream (see CheckStreaming) and that
    // a media type attached to the sample is acceptable. Derived pins process
    // the sample after this returns S_OK.
    STDMETHODIMP Receive(IMediaSample* sample) override;
    // [audio thread] Receive for each sample until one is not S_OK.
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) override;
    // [audio thread] S_OK when a downstream pin of the filter may block, or when there is none.
    STDMETHODIMP ReceiveCanBlock() override;

    // [editor thread] While flushing, Receive returns S_FALSE.
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    // Releases the allocator.
    HRESULT BreakConnect() override;
    // Decommits the allocator, waking a delivery blocked in GetBuffer.
    HRESULT Inactive() override;

    // S_OK when samples may be received; S_FALSE while flushing;
    // VFW_E_NOT_CONNECTED, VFW_E_WRONG_STATE (stopped) or VFW_E_RUNTIME_ERROR otherwise.
    virtual HRESULT CheckStreaming();

protected:
    IMemAllocator* m_pAllocator = nullptr;
    BOOL m_bFlushing = FALSE;
};

} // namespace dshow
