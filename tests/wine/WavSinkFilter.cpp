#include "WavSinkFilter.h"

#include "host/dx/platform/AudioTypes.h"

using namespace dshow;

// {5A1E0003-0000-4000-8000-515545565203}
static const CLSID clsid_wav_sink = {
    0x5A1E0003, 0x0000, 0x4000, {0x80, 0x00, 0x51, 0x55, 0x45, 0x56, 0x52, 0x03}};

WavSinkPin::WavSinkPin(WavSinkFilter* filter, CCritSec* lock, HRESULT* phr)
    : CBaseInputPin("WavSinkPin", filter, lock, phr, WIDE_TEXT("In")), m_sink(filter) {}

HRESULT WavSinkPin::CheckMediaType(const CMediaType* mt) {
    return pcm16_or_float32(*mt) != nullptr ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

STDMETHODIMP WavSinkPin::Receive(IMediaSample* sample) {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) {
        return hr;
    }
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const LONG length = sample->GetActualDataLength();
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const bool timed = sample->GetTime(&start, &stop) == S_OK;
    CAutoLock lock(m_pLock);
    m_sink->m_timed.push_back(timed);
    m_sink->m_wav.data.insert(m_sink->m_wav.data.end(), data, data + length);
    m_sink->m_lengths.push_back(length);
    return S_OK;
}

STDMETHODIMP WavSinkPin::EndOfStream() {
    HRESULT hr = CheckStreaming();
    if (hr != S_OK) {
        return hr;
    }
    {
        CAutoLock lock(m_pLock);
        const WAVEFORMATEX* format = wave_format(m_mt);
        WavFile& wav = m_sink->m_wav;
        wav.format_tag = format->wFormatTag;
        wav.channels = format->nChannels;
        wav.rate = format->nSamplesPerSec;
        wav.bits = format->wBitsPerSample;
        m_sink->m_written = wav.write(m_sink->m_path);
    }
    IMediaEventSink* events = nullptr;
    IFilterGraph* graph = m_sink->GetFilterGraph();
    hr = graph != nullptr
             ? graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&events))
             : E_UNEXPECTED;
    if (SUCCEEDED(hr)) {
        hr = events->Notify(EC_COMPLETE, S_OK,
                            reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(m_sink)));
        events->Release();
    }
    return hr;
}

WavSinkFilter::WavSinkFilter(const std::string& path)
    : CBaseFilter("WavSinkFilter", nullptr, &m_lock, clsid_wav_sink), m_pin(this, &m_lock, nullptr),
      m_path(path) {}

WavSinkFilter* WavSinkFilter::create(const std::string& path) {
    auto* filter = new WavSinkFilter(path);
    filter->AddRef();
    return filter;
}

STDMETHODIMP WavSinkFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IAMFilterMiscFlags)) {
        return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
    }
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* WavSinkFilter::GetPin(int n) {
    return n == 0 ? &m_pin : nullptr;
}

LONG WavSinkPin::allocator_bytes() {
    ALLOCATOR_PROPERTIES props{};
    if (m_pAllocator == nullptr || FAILED(m_pAllocator->GetProperties(&props))) {
        return 0;
    }
    return props.cbBuffer;
}
