#include "host/dx/platform/CBasePin.h"
#include "host/dx/platform/CEnumMediaTypes.h"

#include <algorithm>
#include <new>

namespace dshow {

namespace {

// A refusal by CheckMediaType as a connection result.
HRESULT refused(HRESULT hr) {
    return (SUCCEEDED(hr) || hr == E_FAIL || hr == E_INVALIDARG) ? VFW_E_TYPE_NOT_ACCEPTED : hr;
}

} // namespace

CBasePin::CBasePin(const char* object_name, CBaseFilter* filter, CCritSec* lock, HRESULT*,
                   LPCWSTR name, PIN_DIRECTION dir)
    : CUnknown(object_name, nullptr), m_pName(name != nullptr ? name : WIDE_TEXT("")), m_dir(dir),
      m_pLock(lock), m_pFilter(filter) {}

CBasePin::~CBasePin() {
    if (m_Connected != nullptr) {
        m_Connected->Release();
    }
}

STDMETHODIMP CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IPin)) {
        return GetInterface(static_cast<IPin*>(this), ppv);
    }
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) CBasePin::NonDelegatingAddRef() {
    return m_pFilter->AddRef();
}

STDMETHODIMP_(ULONG) CBasePin::NonDelegatingRelease() {
    return m_pFilter->Release();
}

STDMETHODIMP CBasePin::Connect(IPin* receive_pin, const AM_MEDIA_TYPE* mt) {
    if (receive_pin == nullptr) {
        return E_POINTER;
    }
    CAutoLock lock(m_pLock);
    const HRESULT can = CanConnect();
    if (FAILED(can)) {
        return can;
    }
    if (mt == nullptr) {
        return AgreeMediaType(receive_pin, nullptr);
    }
    const CMediaType wanted(*mt);
    return AgreeMediaType(receive_pin, &wanted);
}

HRESULT CBasePin::AgreeMediaType(IPin* receive_pin, const CMediaType* mt) {
    if (mt != nullptr && !mt->IsPartiallySpecified()) {
        return AttemptConnection(receive_pin, mt);
    }
    for (int pass = 0; pass < 2; ++pass) {
        const bool mine = (pass == 0) == m_bTryMyTypesFirst;
        IEnumMediaTypes* types = nullptr;
        const HRESULT hr = mine ? EnumMediaTypes(&types) : receive_pin->EnumMediaTypes(&types);
        if (FAILED(hr)) {
            continue;
        }
        const HRESULT tried = TryMediaTypes(receive_pin, mt, types);
        types->Release();
        if (SUCCEEDED(tried)) {
            return S_OK;
        }
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT CBasePin::TryMediaTypes(IPin* receive_pin, const CMediaType* partial,
                                IEnumMediaTypes* types) {
    types->Reset();
    AM_MEDIA_TYPE* next = nullptr;
    while (types->Next(1, &next, nullptr) == S_OK) {
        const CMediaType candidate(*next);
        DeleteMediaType(next);
        if ((partial == nullptr || candidate.MatchesPartial(partial)) &&
            SUCCEEDED(AttemptConnection(receive_pin, &candidate))) {
            return S_OK;
        }
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT CBasePin::AttemptConnection(IPin* receive_pin, const CMediaType* mt) {
    return JoinPeer(receive_pin, mt, true);
}

STDMETHODIMP CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) {
    if (connector == nullptr || mt == nullptr) {
        return E_POINTER;
    }
    CAutoLock lock(m_pLock);
    const HRESULT can = CanConnect();
    if (FAILED(can)) {
        return can;
    }
    const CMediaType offered(*mt);
    return JoinPeer(connector, &offered, false);
}

HRESULT CBasePin::CanConnect() const {
    if (m_Connected != nullptr) {
        return VFW_E_ALREADY_CONNECTED;
    }
    return !IsStopped() && !m_bCanReconnectWhenActive ? VFW_E_NOT_STOPPED : S_OK;
}

HRESULT CBasePin::JoinPeer(IPin* peer, const CMediaType* mt, bool connecting_out) {
    HRESULT hr = CheckConnect(peer);
    if (SUCCEEDED(hr)) {
        hr = CheckMediaType(mt);
        if (hr != S_OK) {
            hr = refused(hr);
        } else {
            m_Connected = peer;
            m_Connected->AddRef();
            hr = SetMediaType(mt);
            bool peer_joined = false;
            if (SUCCEEDED(hr) && connecting_out) {
                hr = peer->ReceiveConnection(this, mt);
                peer_joined = SUCCEEDED(hr);
            }
            if (SUCCEEDED(hr)) {
                hr = CompleteConnect(peer);
                if (SUCCEEDED(hr)) {
                    return S_OK;
                }
                if (peer_joined) {
                    peer->Disconnect();
                }
            }
            m_Connected->Release();
            m_Connected = nullptr;
        }
    }
    BreakConnect();
    return hr;
}

STDMETHODIMP CBasePin::Disconnect() {
    CAutoLock lock(m_pLock);
    if (!IsStopped()) {
        return VFW_E_NOT_STOPPED;
    }
    return DisconnectInternal();
}

HRESULT CBasePin::DisconnectInternal() {
    if (m_Connected == nullptr) {
        return S_FALSE;
    }
    const HRESULT hr = BreakConnect();
    if (FAILED(hr)) {
        return hr;
    }
    m_Connected->Release();
    m_Connected = nullptr;
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectedTo(IPin** pin) {
    if (pin == nullptr) {
        return E_POINTER;
    }
    CAutoLock lock(m_pLock);
    *pin = m_Connected;
    if (m_Connected == nullptr) {
        return VFW_E_NOT_CONNECTED;
    }
    m_Connected->AddRef();
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* mt) {
    if (mt == nullptr) {
        return E_POINTER;
    }
    CAutoLock lock(m_pLock);
    if (m_Connected == nullptr) {
        *mt = AM_MEDIA_TYPE();
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(mt, &m_mt);
}

STDMETHODIMP CBasePin::QueryPinInfo(PIN_INFO* info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    info->pFilter = m_pFilter;
    m_pFilter->AddRef();
    const std::size_t length = std::min<std::size_t>(m_pName.size(), MAX_PIN_NAME - 1);
    std::copy_n(m_pName.c_str(), length, info->achName);
    info->achName[length] = 0;
    info->dir = m_dir;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryDirection(PIN_DIRECTION* dir) {
    if (dir == nullptr) {
        return E_POINTER;
    }
    *dir = m_dir;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryId(LPWSTR* id) {
    if (id == nullptr) {
        return E_POINTER;
    }
    const std::size_t bytes = (m_pName.size() + 1) * sizeof(WCHAR);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (*id == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::copy_n(m_pName.c_str(), m_pName.size() + 1, *id);
    return S_OK;
}

STDMETHODIMP CBasePin::QueryAccept(const AM_MEDIA_TYPE* mt) {
    if (mt == nullptr) {
        return E_POINTER;
    }
    const CMediaType offered(*mt);
    const HRESULT hr = CheckMediaType(&offered);
    return hr == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP CBasePin::EnumMediaTypes(IEnumMediaTypes** types) {
    if (types == nullptr) {
        return E_POINTER;
    }
    auto* enumerator = new (std::nothrow) CEnumMediaTypes(this, nullptr);
    *types = enumerator;
    if (enumerator == nullptr) {
        return E_OUTOFMEMORY;
    }
    enumerator->AddRef();
    return S_OK;
}

STDMETHODIMP CBasePin::QueryInternalConnections(IPin**, ULONG*) {
    return E_NOTIMPL;
}

STDMETHODIMP CBasePin::EndOfStream() {
    return S_OK;
}

STDMETHODIMP CBasePin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double rate) {
    m_dRate = rate;
    return S_OK;
}

HRESULT CBasePin::SetMediaType(const CMediaType* mt) {
    return m_mt.Set(*mt);
}

HRESULT CBasePin::CheckConnect(IPin* pin) {
    PIN_DIRECTION dir = PINDIR_INPUT;
    const HRESULT hr = pin->QueryDirection(&dir);
    if (FAILED(hr)) {
        return hr;
    }
    return dir == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::BreakConnect() {
    return S_OK;
}

HRESULT CBasePin::CompleteConnect(IPin*) {
    return S_OK;
}

HRESULT CBasePin::GetMediaType(int, CMediaType*) {
    return E_UNEXPECTED;
}

HRESULT CBasePin::Inactive() {
    m_bRunTimeError = false;
    return S_OK;
}

} // namespace dshow
