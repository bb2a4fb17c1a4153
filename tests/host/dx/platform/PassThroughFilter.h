// A transform that copies each input sample unchanged, shaped like the
// product's filter: its own pins "Input" (id "In") and "Output", an input pin
// that accepts a new type when downstream would take the matching output, and
// a reconnect of the output when a new input type no longer fits it.
#pragma once

#include "host/dx/platform/CTransformFilter.h"
#include "host/dx/platform/CTransformInputPin.h"
#include "host/dx/platform/CTransformOutputPin.h"

extern const CLSID CLSID_PassThroughFilter;
extern const dshow::AMOVIESETUP_FILTER pass_through_setup;

class PassThroughFilter;

class PassThroughInputPin : public dshow::CTransformInputPin {
public:
    PassThroughInputPin(PassThroughFilter* filter, HRESULT* phr);

    // CheckInputType; with a connected output that would need another type,
    // downstream's QueryAccept of that type decides.
    HRESULT CheckMediaType(const dshow::CMediaType* mt) override;
    // "In".
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
};

class PassThroughFilter : public dshow::CTransformFilter {
public:
    // For a factory template.
    static dshow::CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
    PassThroughFilter(LPUNKNOWN outer, HRESULT* phr);

    dshow::CBasePin* GetPin(int n) override;
    const dshow::AMOVIESETUP_FILTER* GetSetupData() override { return &pass_through_setup; }

    // Audio, uncompressed, with a wave format block; else E_INVALIDARG.
    HRESULT CheckInputType(const dshow::CMediaType* in) override;
    // Equal formats only.
    HRESULT CheckTransform(const dshow::CMediaType* in, const dshow::CMediaType* out) override;
    // Position 0: the input's type.
    HRESULT GetMediaType(int position, dshow::CMediaType* mt) override;
    // The input allocator's properties, when there is one.
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override;
    HRESULT CompleteConnect(PIN_DIRECTION dir, IPin* receive_pin) override;
    HRESULT SetMediaType(PIN_DIRECTION dir, const dshow::CMediaType* mt) override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;

    int start_count() const { return m_start_count; }
    int stop_count() const { return m_stop_count; }
    int media_types_set() const { return m_media_types_set; }

    PassThroughInputPin* input() { return static_cast<PassThroughInputPin*>(m_pInput); }
    dshow::CTransformOutputPin* output() { return m_pOutput; }

private:
    int m_start_count = 0;
    int m_stop_count = 0;
    int m_media_types_set = 0;
};
