// A filter: state (stopped, paused, running), its pins, its place in a graph,
// and registration through its setup data. Derived filters supply the pins.
//
// Threads: an operation without a tag of its own runs on the editor thread
// (graph control); the streaming ones are tagged [audio thread].
#pragma once

#include "host/dx/platform/AMovieSetup.h"
#include "host/dx/platform/CCritSec.h"
#include "host/dx/platform/CUnknown.h"

#include <string>

namespace dshow {

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter, public IAMovieSetup {
public:
    // lock: the filter's state lock, owned by the derived filter.
    CBaseFilter(const char* name, LPUNKNOWN outer, CCritSec* lock, REFCLSID clsid,
                HRESULT* phr = nullptr);
    ~CBaseFilter() override;

    DECLARE_IUNKNOWN
    // IBaseFilter, IMediaFilter, IPersist, IAMovieSetup.
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP GetClassID(CLSID* clsid) override;

    // [editor thread] Deactivates every connected pin.
    STDMETHODIMP Stop() override;
    // [editor thread] From stopped, activates every connected pin first.
    STDMETHODIMP Pause() override;
    // [editor thread] Pauses when stopped, then runs every connected pin.
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout_ms, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    // Finds the pin whose QueryId equals id.
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    // The graph is not referenced: it owns the filter, not the other way round.
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* vendor_info) override;

    // [editor thread] Registers GetSetupData() through the filter mapper; S_FALSE without it.
    STDMETHODIMP Register() override;
    STDMETHODIMP Unregister() override;

    // The number of pins and pin n (0-based; null when out of range). The
    // filter keeps ownership of its pins.
    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int n) = 0;
    // The registration record, or null when the filter is not registered.
    virtual const AMOVIESETUP_FILTER* GetSetupData() { return nullptr; }

    // Changes whenever the set of pins changes, so enumerators can tell.
    virtual LONG GetPinVersion() { return m_PinVersion; }
    void IncrementPinVersion() { ++m_PinVersion; }

    BOOL IsStopped() const { return m_State == State_Stopped; }
    IFilterGraph* GetFilterGraph() const { return m_pGraph; }
    // Asks the graph to reconnect pin; VFW_E_NOT_IN_GRAPH outside a graph.
    HRESULT ReconnectPin(IPin* pin, const AM_MEDIA_TYPE* mt);

protected:
    FILTER_STATE m_State = State_Stopped;
    IReferenceClock* m_pClock = nullptr;
    REFERENCE_TIME m_tStart = 0;
    CLSID m_clsid;
    CCritSec* m_pLock;
    std::basic_string<WCHAR> m_pName;
    IFilterGraph* m_pGraph = nullptr;

private:
    template <typename Step>
    HRESULT for_each_connected_pin(Step step);

    std::atomic<LONG> m_PinVersion{1};
};

} // namespace dshow
