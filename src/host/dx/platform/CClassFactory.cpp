#include "host/dx/platform/CClassFactory.h"

#include <new>

namespace dshow {

std::atomic<LONG> CClassFactory::m_cLocked{0};

CClassFactory::CClassFactory(const CFactoryTemplate* factory_template)
    : CBaseObject("CClassFactory"), m_pTemplate(factory_template) {}

STDMETHODIMP CClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        return GetInterface(static_cast<IClassFactory*>(this), ppv);
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CClassFactory::AddRef() {
    return static_cast<ULONG>(++m_cRef);
}

STDMETHODIMP_(ULONG) CClassFactory::Release() {
    const LONG left = --m_cRef;
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP CClassFactory::CreateInstance(LPUNKNOWN outer, REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (outer != nullptr && !IsEqualIID(riid, IID_IUnknown)) {
        return E_NOINTERFACE;
    }
    HRESULT hr = S_OK;
    CUnknown* object = m_pTemplate->CreateInstance(outer, &hr);
    if (object == nullptr) {
        return FAILED(hr) ? hr : E_OUTOFMEMORY;
    }
    if (FAILED(hr)) {
        delete object;
        return hr;
    }
    // The temporary reference keeps the object alive through a failed query.
    object->NonDelegatingAddRef();
    hr = object->NonDelegatingQueryInterface(riid, ppv);
    object->NonDelegatingRelease();
    return hr;
}

STDMETHODIMP CClassFactory::LockServer(BOOL lock) {
    if (lock) {
        ++m_cLocked;
    } else {
        --m_cLocked;
    }
    return S_OK;
}

bool CClassFactory::IsLocked() {
    return m_cLocked.load() > 0;
}

namespace {

// Each template's init routine runs once, before the first class object is handed out.
bool run_init_routines() {
    for (int i = 0; i < g_cTemplates; ++i) {
        if (g_Templates[i].m_lpfnInit != nullptr) {
            g_Templates[i].m_lpfnInit(TRUE, g_Templates[i].m_ClsID);
        }
    }
    return true;
}

} // namespace

} // namespace dshow

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
        return E_NOINTERFACE;
    }
    static const bool initialised = dshow::run_init_routines();
    (void)initialised;
    for (int i = 0; i < g_cTemplates; ++i) {
        if (!g_Templates[i].IsClassID(clsid)) {
            continue;
        }
        auto* factory = new (std::nothrow) dshow::CClassFactory(&g_Templates[i]);
        if (factory == nullptr) {
            return E_OUTOFMEMORY;
        }
        return factory->QueryInterface(riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    return (dshow::CBaseObject::ObjectsActive() == 0 && !dshow::CClassFactory::IsLocked())
               ? S_OK
               : S_FALSE;
}
