// What the pin and media-type enumerators share: a position over a source
// that may change under them (detected through a version number), and the
// Next/Skip/Reset/Clone rules of COM enumerators. Enumerators run on the
// editor thread (graph building).
#pragma once

#include "host/dx/platform/CUnknown.h"

#include <new>

namespace dshow {

template <typename Interface, typename Item>
class CEnumBase : public CUnknown, public Interface {
public:
    DECLARE_IUNKNOWN

    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, interface_id())) {
            return GetInterface(static_cast<Interface*>(this), ppv);
        }
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    // [any thread] fetched may be null only when count is 1.
    STDMETHODIMP Next(ULONG count, Item* items, ULONG* fetched) override {
        if (items == nullptr) {
            return E_POINTER;
        }
        if (fetched == nullptr && count != 1) {
            return E_INVALIDARG;
        }
        if (fetched != nullptr) {
            *fetched = 0;
        }
        if (out_of_sync()) {
            return VFW_E_ENUM_OUT_OF_SYNC;
        }
        ULONG n = 0;
        while (n < count && fetch(m_Position, &items[n])) {
            ++m_Position;
            ++n;
        }
        if (fetched != nullptr) {
            *fetched = n;
        }
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        if (out_of_sync()) {
            return VFW_E_ENUM_OUT_OF_SYNC;
        }
        for (; count > 0; --count, ++m_Position) {
            if (!exists(m_Position)) {
                return S_FALSE;
            }
        }
        return S_OK;
    }
    STDMETHODIMP Reset() override {
        m_Position = 0;
        m_Version = source_version();
        return S_OK;
    }
    STDMETHODIMP Clone(Interface** clone) override {
        if (clone == nullptr) {
            return E_POINTER;
        }
        *clone = nullptr;
        if (out_of_sync()) {
            return VFW_E_ENUM_OUT_OF_SYNC;
        }
        CEnumBase* copy = duplicate();
        if (copy == nullptr) {
            return E_OUTOFMEMORY;
        }
        copy->m_Position = m_Position;
        copy->m_Version = m_Version;
        *clone = copy;
        copy->AddRef();
        return S_OK;
    }

protected:
    explicit CEnumBase(const char* name) : CUnknown(name, nullptr) {}

    // Starts at the source's current version.
    void start() { m_Version = source_version(); }

    virtual REFIID interface_id() const = 0;
    virtual LONG source_version() = 0;
    // Whether item position exists; fetch also hands it out with a reference.
    virtual bool exists(int position) = 0;
    virtual bool fetch(int position, Item* item) = 0;
    // A new enumerator over the same source, without a reference yet.
    virtual CEnumBase* duplicate() = 0;

private:
    bool out_of_sync() { return m_Version != source_version(); }

    int m_Position = 0;
    LONG m_Version = 0;
};

} // namespace dshow
