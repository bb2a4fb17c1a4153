#include "host/dx/platform/CBaseFilter.h"
#include "host/dx/platform/CBasePin.h"
#include "host/dx/platform/CEnumPins.h"

#include <algorithm>
#include <new>

namespace dshow {

CBaseFilter::CBaseFilter(const char* name, LPUNKNOWN outer, CCritSec* lock, REFCLSID clsid,
                         HRESULT* phr)
    : CUnknown(name, outer, phr), m_clsid(clsid), m_pLock(lock) {}

CBaseFilter::~CBaseFilter() {
    if (m_pClock != nullptr) {
        m_pClock->Release();
    }
}

STDMETHODIMP CBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IBaseFilter) || IsEqualIID(riid, IID_IMediaFilter) ||
        IsEqualIID(riid, IID_IPersist)) {
        return GetInterface(static_cast<IBaseFilter*>(this), ppv);
    }
    if (IsEqualIID(riid, IID_IAMovieSetup)) {
        return GetInterface(static_cast<IAMovieSetup*>(this), ppv);
    }
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseFilter::GetClassID(CLSID* clsid) {
    if (clsid == nullptr) {
        return E_POINTER;
    }
    *clsid = m_clsid;
    return S_OK;
}

template <typename Step>
HRESULT CBaseFilter::for_each_connected_pin(Step step) {
    HRESULT result = S_OK;
    const int count = GetPinCount();
    for (int i = 0; i < count; ++i) {
        CBasePin* pin = GetPin(i);
        if (pin != nullptr && pin->IsConnected()) {
            const HRESULT hr = step(pin);
            if (FAILED(hr) && SUCCEEDED(result)) {
                result = hr;
            }
        }
    }
    return result;
}

STDMETHODIMP CBaseFilter::Stop() {
    CAutoLock lock(m_pLock);
    HRESULT hr = S_OK;
    if (m_State != State_Stopped) {
        hr = for_each_connected_pin([](CBasePin* pin) { return pin->Inactive(); });
    }
    m_State = State_Stopped;
    return hr;
}

STDMETHODIMP CBaseFilter::Pause() {
    CAutoLock lock(m_pLock);
    if (m_State == State_Stopped) {
        const HRESULT hr = for_each_connected_pin([](CBasePin* pin) { return pin->Active(); });
        if (FAILED(hr)) {
            return hr;
        }
    }
    m_State = State_Paused;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Run(REFERENCE_TIME start) {
    CAutoLock lock(m_pLock);
    m_tStart = start;
    if (m_State == State_Stopped) {
        const HRESULT hr = Pause();
        if (FAILED(hr)) {
            return hr;
        }
    }
    if (m_State != State_Running) {
        const HRESULT hr =
            for_each_connected_pin([start](CBasePin* pin) { return pin->Run(start); });
        if (FAILED(hr)) {
            return hr;
        }
    }
    m_State = State_Running;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetState(DWORD, FILTER_STATE* state) {
    if (state == nullptr) {
        return E_POINTER;
    }
    *state = m_State;
    return S_OK;
}

STDMETHODIMP CBaseFilter::SetSyncSource(IReferenceClock* clock) {
    CAutoLock lock(m_pLock);
    if (clock != nullptr) {
        clock->AddRef();
    }
    if (m_pClock != nullptr) {
        m_pClock->Release();
    }
    m_pClock = clock;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetSyncSource(IReferenceClock** clock) {
    if (clock == nullptr) {
        return E_POINTER;
    }
    CAutoLock lock(m_pLock);
    *clock = m_pClock;
    if (m_pClock != nullptr) {
        m_pClock->AddRef();
    }
    return S_OK;
}

STDMETHODIMP CBaseFilter::EnumPins(IEnumPins** pins) {
    if (pins == nullptr) {
        return E_POINTER;
    }
    auto* enumerator = new (std::nothrow) CEnumPins(this, nullptr);
    *pins = enumerator;
    if (enumerator == nullptr) {
        return E_OUTOFMEMORY;
    }
    enumerator->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseFilter::FindPin(LPCWSTR id, IPin** found) {
    if (id == nullptr || found == nullptr) {
        return E_POINTER;
    }
    *found = nullptr;
    CAutoLock lock(m_pLock);
    const int count = GetPinCount();
    for (int i = 0; i < count; ++i) {
        CBasePin* pin = GetPin(i);
        LPWSTR pin_id = nullptr;
        if (pin == nullptr || FAILED(pin->QueryId(&pin_id))) {
            continue;
        }
        const bool same = std::basic_string<WCHAR>(pin_id) == id;
        CoTaskMemFree(pin_id);
        if (same) {
            *found = pin;
            pin->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP CBaseFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    const std::size_t length = std::min<std::size_t>(m_pName.size(), MAX_FILTER_NAME - 1);
    std::copy_n(m_pName.c_str(), length, info->achName);
    info->achName[length] = 0;
    info->pGraph = m_pGraph;
    if (m_pGraph != nullptr) {
        m_pGraph->AddRef();
    }
    return S_OK;
}

STDMETHODIMP CBaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    CAutoLock lock(m_pLock);
    m_pGraph = graph;
    m_pName = (graph != nullptr && name != nullptr) ? name : std::basic_string<WCHAR>();
    return S_OK;
}

STDMETHODIMP CBaseFilter::QueryVendorInfo(LPWSTR*) {
    return E_NOTIMPL;
}

STDMETHODIMP CBaseFilter::Register() {
    const AMOVIESETUP_FILTER* setup = GetSetupData();
    return setup != nullptr ? AMovieRegisterFilter(setup, TRUE) : S_FALSE;
}

STDMETHODIMP CBaseFilter::Unregister() {
    const AMOVIESETUP_FILTER* setup = GetSetupData();
    return setup != nullptr ? AMovieRegisterFilter(setup, FALSE) : S_FALSE;
}

HRESULT CBaseFilter::ReconnectPin(IPin* pin, const AM_MEDIA_TYPE*) {
    CAutoLock lock(m_pLock);
    return m_pGraph != nullptr ? m_pGraph->Reconnect(pin) : VFW_E_NOT_IN_GRAPH;
}

} // namespace dshow
