#include "host/dx/platform/CTransformFilter.h"
#include "host/dx/platform/CTransformInputPin.h"
#include "host/dx/platform/CTransformOutputPin.h"

#include <new>

namespace dshow {

CTransformFilter::CTransformFilter(const char* name, LPUNKNOWN outer, REFCLSID clsid)
    : CBaseFilter(name, outer, &m_csFilter, clsid) {}

CTransformFilter::~CTransformFilter() {
    delete m_pInput;
    delete m_pOutput;
}

int CTransformFilter::GetPinCount() {
    return 2;
}

std::unique_ptr<CTransformInputPin> CTransformFilter::CreateInputPin(HRESULT* phr) {
    return std::unique_ptr<CTransformInputPin>(new (std::nothrow) CTransformInputPin(
        "Transform input pin", this, phr, WIDE_TEXT("XForm In")));
}

std::unique_ptr<CTransformOutputPin> CTransformFilter::CreateOutputPin(HRESULT* phr) {
    return std::unique_ptr<CTransformOutputPin>(new (std::nothrow) CTransformOutputPin(
        "Transform output pin", this, phr, WIDE_TEXT("XForm Out")));
}

CBasePin* CTransformFilter::GetPin(int n) {
    if (m_pInput == nullptr) {
        HRESULT hr = S_OK;
        std::unique_ptr<CTransformInputPin> pin = CreateInputPin(&hr);
        m_pInput = SUCCEEDED(hr) ? pin.release() : nullptr;
    }
    if (m_pOutput == nullptr) {
        HRESULT hr = S_OK;
        std::unique_ptr<CTransformOutputPin> pin = CreateOutputPin(&hr);
        m_pOutput = SUCCEEDED(hr) ? pin.release() : nullptr;
    }
    switch (n) {
    case 0:
        return m_pInput;
    case 1:
        return m_pOutput;
    default:
        return nullptr;
    }
}

STDMETHODIMP CTransformFilter::Stop() {
    CAutoLock lock(&m_csFilter);
    if (m_State == State_Stopped) {
        return S_OK;
    }
    if (m_pInput == nullptr || !m_pInput->IsConnected() || m_pOutput == nullptr ||
        !m_pOutput->IsConnected()) {
        m_State = State_Stopped;
        m_bEOSDelivered = false;
        return S_OK;
    }
    // Refuse further samples first; one being processed finishes before StopStreaming.
    m_pInput->Inactive();
    CAutoLock receiving(&m_csReceive);
    m_pOutput->Inactive();
    const HRESULT hr = StopStreaming();
    if (SUCCEEDED(hr)) {
        m_State = State_Stopped;
        m_bEOSDelivered = false;
    }
    return hr;
}

STDMETHODIMP CTransformFilter::Pause() {
    CAutoLock lock(&m_csFilter);
    HRESULT hr = S_OK;
    if (m_State == State_Paused) {
        return S_OK;
    }
    const bool input_connected = m_pInput != nullptr && m_pInput->IsConnected();
    const bool output_connected = m_pOutput != nullptr && m_pOutput->IsConnected();
    if (!input_connected) {
        // Nothing will ever arrive: tell downstream at once.
        if (output_connected && !m_bEOSDelivered) {
            m_pOutput->DeliverEndOfStream();
            m_bEOSDelivered = true;
        }
    } else if (output_connected && m_State == State_Stopped) {
        CAutoLock receiving(&m_csReceive);
        hr = StartStreaming();
    }
    return FAILED(hr) ? hr : CBaseFilter::Pause();
}

HRESULT CTransformFilter::Transform(IMediaSample*, IMediaSample*) {
    return E_UNEXPECTED;
}

HRESULT CTransformFilter::SetMediaType(PIN_DIRECTION, const CMediaType*) {
    return S_OK;
}

HRESULT CTransformFilter::CompleteConnect(PIN_DIRECTION, IPin*) {
    return S_OK;
}

HRESULT CTransformFilter::CheckConnect(PIN_DIRECTION, IPin*) {
    return S_OK;
}

HRESULT CTransformFilter::BreakConnect(PIN_DIRECTION) {
    return S_OK;
}

HRESULT CTransformFilter::StartStreaming() {
    return S_OK;
}

HRESULT CTransformFilter::StopStreaming() {
    return S_OK;
}

HRESULT CTransformFilter::InitializeOutputSample(IMediaSample* in, IMediaSample** out) {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const HRESULT timed = in->GetTime(&start, &stop);
    REFERENCE_TIME* start_time = SUCCEEDED(timed) ? &start : nullptr;
    REFERENCE_TIME* stop_time = timed == S_OK ? &stop : nullptr;
    const bool sync_point = in->IsSyncPoint() == S_OK;
    HRESULT hr = m_pOutput->GetDeliveryBuffer(out, start_time, stop_time,
                                              sync_point ? 0 : AM_GBF_NOTASYNCPOINT);
    if (FAILED(hr)) {
        return hr;
    }
    // The allocator may be another's: set everything explicitly.
    IMediaSample* sample = *out;
    sample->SetTime(start_time, stop_time);
    sample->SetSyncPoint(sync_point);
    sample->SetDiscontinuity(in->IsDiscontinuity() == S_OK);
    sample->SetPreroll(in->IsPreroll() == S_OK);
    LONGLONG media_start = 0;
    LONGLONG media_stop = 0;
    if (in->GetMediaTime(&media_start, &media_stop) == S_OK) {
        sample->SetMediaTime(&media_start, &media_stop);
    }
    return S_OK;
}

HRESULT CTransformFilter::Receive(IMediaSample* sample) {
    IMediaSample* out = nullptr;
    HRESULT hr = InitializeOutputSample(sample, &out);
    if (FAILED(hr)) {
        return hr;
    }
    hr = Transform(sample, out);
    if (hr == S_OK) {
        hr = m_pOutput->Deliver(out);
    } else if (hr == S_FALSE) {
        hr = S_OK; // dropped on purpose
    }
    out->Release();
    return hr;
}

HRESULT CTransformFilter::EndOfStream() {
    return m_pOutput->DeliverEndOfStream();
}

HRESULT CTransformFilter::BeginFlush() {
    return m_pOutput->DeliverBeginFlush();
}

HRESULT CTransformFilter::EndFlush() {
    return m_pOutput->DeliverEndFlush();
}

HRESULT CTransformFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    return m_pOutput->DeliverNewSegment(start, stop, rate);
}

} // namespace dshow
