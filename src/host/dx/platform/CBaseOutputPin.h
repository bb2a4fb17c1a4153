// An output pin that delivers samples to a connected IMemInputPin, from an
// allocator it agrees on with that pin while connecting.
//
// Threads: an operation without a tag of its own runs on the editor thread
// (graph control); the streaming ones are tagged [audio thread].
#pragma once

#include "host/dx/platform/CBasePin.h"

namespace dshow {

class CBaseOutputPin : public CBasePin {
public:
    CBaseOutputPin(const char* object_name, CBaseFilter* filter, CCritSec* lock, HRESULT* phr,
                   LPCWSTR name);
    ~CBaseOutputPin() override;

    // Agrees on the allocator (DecideAllocator).
    HRESULT CompleteConnect(IPin* receive_pin) override;
    // The peer must be an input pin with IMemInputPin.
    HRESULT CheckConnect(IPin* pin) override;
    // Decommits and releases the allocator and the peer's IMemInputPin.
    HRESULT BreakConnect() override;
    // [editor thread] Commits the allocator (VFW_E_NO_ALLOCATOR without one).
    HRESULT Active() override;
    // [editor thread] Decommits the allocator.
    HRESULT Inactive() override;

    // Asks the input pin for its allocator and sizes it with DecideBufferSize;
    // if that fails, makes one of its own (InitAllocator) and sizes that.
    // Either way the input pin is told with NotifyAllocator.
    virtual HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator);
    // Sets the allocator's properties; request holds the input pin's wishes (alignment at least 1).
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    // A new CMemAllocator with a reference for the caller.
    virtual HRESULT InitAllocator(IMemAllocator** allocator);

    // [audio thread] An empty sample from the allocator, with the times given (may be null).
    // May block; see IMemAllocator::GetBuffer.
    virtual HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start,
                                      REFERENCE_TIME* stop, DWORD flags);
    // [audio thread] Passes the sample to the connected pin's Receive.
    virtual HRESULT Deliver(IMediaSample* sample);
    // [audio thread]
    virtual HRESULT DeliverEndOfStream();
    // [editor thread] Flushing and new segments, as the transform filter passes them.
    virtual HRESULT DeliverBeginFlush();
    virtual HRESULT DeliverEndFlush();
    virtual HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    // [any thread] These travel downstream, never up to an output pin: E_UNEXPECTED.
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

protected:
    IMemAllocator* m_pAllocator = nullptr;
    IMemInputPin* m_pInputPin = nullptr;
};

} // namespace dshow
