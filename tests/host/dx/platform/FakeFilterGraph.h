// Just enough of a filter graph for a filter to ask for a reconnection: the
// requests are recorded and carried out when the test says so, as a graph
// does after the call that asked for them has returned.
#pragma once

#include "host/dx/platform/com.h"

#include <atomic>
#include <vector>

class FakeFilterGraph : public IFilterGraph {
public:
    FakeFilterGraph() = default;
    virtual ~FakeFilterGraph() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override;

    // Filters are joined by the test itself: E_NOTIMPL for the rest.
    STDMETHODIMP AddFilter(IBaseFilter*, LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveFilter(IBaseFilter*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFilters(IEnumFilters**) override { return E_NOTIMPL; }
    STDMETHODIMP FindFilterByName(LPCWSTR, IBaseFilter**) override { return E_NOTIMPL; }
    STDMETHODIMP ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP SetDefaultSyncSource() override { return E_NOTIMPL; }
    // Records the pin; it is reconnected by perform_reconnects.
    STDMETHODIMP Reconnect(IPin* pin) override;
    STDMETHODIMP Disconnect(IPin* pin) override;

    // Disconnects each recorded output pin and its peer and connects them again.
    HRESULT perform_reconnects();
    std::size_t pending() const { return m_pending.size(); }

private:
    std::atomic<ULONG> m_references{1};
    std::vector<IPin*> m_pending;
};
