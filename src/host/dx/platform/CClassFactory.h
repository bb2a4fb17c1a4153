// The class object DllGetClassObject hands out for one factory template; it
// runs on the editor thread (the host's creating thread).
#pragma once

#include "host/dx/platform/CFactoryTemplate.h"

namespace dshow {

class CClassFactory : public IClassFactory, public CBaseObject {
public:
    explicit CClassFactory(const CFactoryTemplate* factory_template);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // [any thread] Aggregation is allowed only when asking for IUnknown.
    STDMETHODIMP CreateInstance(LPUNKNOWN outer, REFIID riid, void** ppv) override;
    // [any thread] A locked server is not unloaded.
    STDMETHODIMP LockServer(BOOL lock) override;

    // [any thread] True while any class factory holds a server lock.
    static bool IsLocked();

private:
    const CFactoryTemplate* const m_pTemplate;
    std::atomic<LONG> m_cRef{0};
    static std::atomic<LONG> m_cLocked;
};

} // namespace dshow

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv);
STDAPI DllCanUnloadNow();
