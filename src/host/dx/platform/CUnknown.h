// Reference-counted COM objects that can be aggregated: an object exposes a
// non-delegating IUnknown of its own and forwards its public IUnknown to the
// outer object when one is given (or to itself when not). Reference counting
// and interface lookup run on any thread.
#pragma once

#include "host/dx/platform/com.h"

#include <atomic>

namespace dshow {

struct INonDelegatingUnknown {
    virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;

protected:
    ~INonDelegatingUnknown() = default;
};

// Counts the live objects of the module, for DllCanUnloadNow.
class CBaseObject {
public:
    explicit CBaseObject(const char* name);
    virtual ~CBaseObject();
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;

    // [any thread] Objects created and not yet destroyed in this module.
    static LONG ObjectsActive();

protected:
    const char* m_pName; // for diagnostics only

private:
    static std::atomic<LONG> m_cObjects;
};

class CUnknown : public INonDelegatingUnknown, public CBaseObject {
public:
    // outer: the aggregating object, or null for a standalone one.
    CUnknown(const char* name, LPUNKNOWN outer, HRESULT* phr = nullptr);
    ~CUnknown() override;

    // The IUnknown that public AddRef/Release/QueryInterface go to.
    LPUNKNOWN GetOwner() const { return m_pUnknown; }

    // Answers IUnknown with the non-delegating unknown; derived classes answer
    // their own interfaces and pass anything else here.
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
    // Deletes the object when the count reaches zero.
    STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

protected:
    std::atomic<LONG> m_cRef{0};

private:
    // The non-delegating IUnknown handed to an aggregating outer object.
    class Inner : public IUnknown {
    public:
        explicit Inner(CUnknown* object) : m_object(object) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
            return m_object->NonDelegatingQueryInterface(riid, ppv);
        }
        STDMETHODIMP_(ULONG) AddRef() override { return m_object->NonDelegatingAddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return m_object->NonDelegatingRelease(); }

    private:
        CUnknown* m_object;
    };

    Inner m_inner{this};
    IUnknown* const m_pUnknown;
};

// Returns an interface pointer through ppv with a reference added.
HRESULT GetInterface(LPUNKNOWN unknown, void** ppv);

// The public IUnknown of a class deriving CUnknown and COM interfaces.
#define DECLARE_IUNKNOWN                                                                           \
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {                                \
        return GetOwner()->QueryInterface(riid, ppv);                                              \
    }                                                                                              \
    STDMETHODIMP_(ULONG) AddRef() override {                                                       \
        return GetOwner()->AddRef();                                                               \
    }                                                                                              \
    STDMETHODIMP_(ULONG) Release() override {                                                      \
        return GetOwner()->Release();                                                              \
    }

} // namespace dshow
