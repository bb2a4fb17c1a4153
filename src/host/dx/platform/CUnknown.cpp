#include "host/dx/platform/CUnknown.h"

namespace dshow {

std::atomic<LONG> CBaseObject::m_cObjects{0};

CBaseObject::CBaseObject(const char* name) : m_pName(name) {
    ++m_cObjects;
}

CBaseObject::~CBaseObject() {
    --m_cObjects;
}

LONG CBaseObject::ObjectsActive() {
    return m_cObjects.load();
}

CUnknown::CUnknown(const char* name, LPUNKNOWN outer, HRESULT*)
    : CBaseObject(name), m_pUnknown(outer != nullptr ? outer : &m_inner) {}

CUnknown::~CUnknown() = default;

STDMETHODIMP CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown)) {
        return GetInterface(&m_inner, ppv);
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CUnknown::NonDelegatingAddRef() {
    return static_cast<ULONG>(++m_cRef);
}

STDMETHODIMP_(ULONG) CUnknown::NonDelegatingRelease() {
    const LONG left = --m_cRef;
    if (left == 0) {
        // Guards against re-entry should the destructor add and drop a reference.
        m_cRef = 1;
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT GetInterface(LPUNKNOWN unknown, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = unknown;
    unknown->AddRef();
    return S_OK;
}

} // namespace dshow
