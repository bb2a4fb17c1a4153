// A filter with one input and one output pin that turns each input sample into
// an output sample. A derived filter overrides at least CheckInputType,
// CheckTransform, GetMediaType and DecideBufferSize, and either Transform or
// Receive; the other hooks below are optional.
//
// Threads: an operation without a tag of its own runs on the editor thread
// (graph control); the streaming ones are tagged [audio thread].
// The receive lock keeps Stop from tearing down what a sample in flight uses.
#pragma once

#include "host/dx/platform/CBaseFilter.h"
#include "host/dx/platform/CMediaType.h"

#include <memory>

namespace dshow {

class CTransformInputPin;
class CTransformOutputPin;

class CTransformFilter : public CBaseFilter {
public:
    CTransformFilter(const char* name, LPUNKNOWN outer, REFCLSID clsid);
    ~CTransformFilter() override;

    // 2: input and output.
    int GetPinCount() override;
    // Makes the missing pins first (CreateInputPin, then CreateOutputPin), a
    // pin that reports a failure discarded; 0 input, 1 output.
    CBasePin* GetPin(int n) override;

    // [editor thread] Deactivates the input first so no sample is taken while
    // the output stops, then calls StopStreaming under the receive lock.
    STDMETHODIMP Stop() override;
    // [editor thread] From stopped: with no connected input, sends end of stream
    // downstream instead of streaming; else calls StartStreaming.
    STDMETHODIMP Pause() override;

    // --- hooks for the derived filter ---

    // [editor thread] Whether the input pin may take this type.
    virtual HRESULT CheckInputType(const CMediaType* in) = 0;
    // [editor thread] Whether this input type can become this output type.
    virtual HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) = 0;
    // [editor thread] The output pin's position-th preferred type (input connected).
    virtual HRESULT GetMediaType(int position, CMediaType* mt) = 0;
    // [editor thread] Sets the output allocator's properties.
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    // [audio thread] Fills out from in; S_FALSE drops the sample. E_UNEXPECTED
    // unless overridden (a filter overriding Receive need not).
    virtual HRESULT Transform(IMediaSample* in, IMediaSample* out);
    // [editor thread] A pin's type was set (dir: which pin).
    virtual HRESULT SetMediaType(PIN_DIRECTION dir, const CMediaType* mt);
    // [editor thread] A pin's connection was agreed; a failure undoes it.
    virtual HRESULT CompleteConnect(PIN_DIRECTION dir, IPin* receive_pin);
    virtual HRESULT CheckConnect(PIN_DIRECTION dir, IPin* pin);
    virtual HRESULT BreakConnect(PIN_DIRECTION dir);
    // [editor thread] Entering pause from stopped, and leaving to stopped.
    virtual HRESULT StartStreaming();
    virtual HRESULT StopStreaming();
    // [audio thread] One input sample, under the receive lock: gets an
    // output buffer, Transform, Deliver.
    virtual HRESULT Receive(IMediaSample* sample);
    // [audio thread] End of stream on the input: passes it downstream.
    virtual HRESULT EndOfStream();
    // [editor thread] Flushing and new segments are passed downstream.
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

protected:
    // An output buffer carrying the input's times, sync point, discontinuity and media times.
    virtual HRESULT InitializeOutputSample(IMediaSample* in, IMediaSample** out);
    // [editor thread] The pins GetPin makes: "XForm In" and "XForm Out" unless
    // the derived filter makes its own. Null, or a failure in *phr, when a
    // pin cannot be made.
    virtual std::unique_ptr<CTransformInputPin> CreateInputPin(HRESULT* phr);
    virtual std::unique_ptr<CTransformOutputPin> CreateOutputPin(HRESULT* phr);

    bool m_bEOSDelivered = false;
    CCritSec m_csFilter;  // filter state; also the pins' lock
    CCritSec m_csReceive; // held while a sample or end of stream is processed
    CTransformInputPin* m_pInput = nullptr;
    CTransformOutputPin* m_pOutput = nullptr;

    friend class CTransformInputPin;
    friend class CTransformOutputPin;
};

} // namespace dshow
