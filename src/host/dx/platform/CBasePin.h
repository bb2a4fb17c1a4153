// A pin: connection and media-type negotiation with a peer pin. The pin's
// references are its filter's, so a pin lives exactly as long as its filter.
//
// Threads: an operation without a tag of its own runs on the editor thread
// (graph control); the streaming ones are tagged [audio thread].
#pragma once

#include "host/dx/platform/CBaseFilter.h"
#include "host/dx/platform/CMediaType.h"

namespace dshow {

class CBasePin : public CUnknown, public IPin {
public:
    // lock: the filter's state lock; name: the pin's name, also its default id.
    CBasePin(const char* object_name, CBaseFilter* filter, CCritSec* lock, HRESULT* phr,
             LPCWSTR name, PIN_DIRECTION dir);
    ~CBasePin() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    // Counted on the filter.
    STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
    STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

    // [editor thread] With a fully specified type, tries that type alone;
    // otherwise tries the peer's types then ours (ours first when
    // m_bTryMyTypesFirst), each filtered by the partial type given.
    STDMETHODIMP Connect(IPin* receive_pin, const AM_MEDIA_TYPE* mt) override;
    // [editor thread] The peer's half of Connect.
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    // [editor thread] Only when stopped; S_FALSE when not connected.
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* dir) override;
    // The pin's name, in task memory.
    STDMETHODIMP QueryId(LPWSTR* id) override;
    // S_OK when CheckMediaType accepts the type, else S_FALSE.
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    // [audio thread]
    STDMETHODIMP EndOfStream() override;
    // Remembers the segment's rate.
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // S_OK for a type this pin can connect with; any other result refuses it.
    virtual HRESULT CheckMediaType(const CMediaType* mt) = 0;
    // Stores the connection's type.
    virtual HRESULT SetMediaType(const CMediaType* mt);
    // Checks the peer before a type is tried (directions must differ).
    virtual HRESULT CheckConnect(IPin* pin);
    // Undoes CheckConnect and anything set up for a connection.
    virtual HRESULT BreakConnect();
    // Called when both sides agreed; a failure undoes the connection.
    virtual HRESULT CompleteConnect(IPin* receive_pin);
    // The position-th preferred type: S_OK, VFW_S_NO_MORE_ITEMS past the end.
    virtual HRESULT GetMediaType(int position, CMediaType* mt);
    virtual LONG GetMediaTypeVersion() { return m_TypeVersion; }
    void IncrementTypeVersion() { ++m_TypeVersion; }

    // [editor thread] Called by the filter on Pause from stopped, on Stop, and on Run.
    virtual HRESULT Active() { return S_OK; }
    virtual HRESULT Inactive();
    virtual HRESULT Run(REFERENCE_TIME) { return S_OK; }

    BOOL IsConnected() const { return m_Connected != nullptr; }
    // The peer pin without a reference added, or null.
    IPin* GetConnected() const { return m_Connected; }
    BOOL IsStopped() const { return m_pFilter->IsStopped(); }
    CMediaType& CurrentMediaType() { return m_mt; }
    LPCWSTR Name() const { return m_pName.c_str(); }
    double CurrentRate() const { return m_dRate; }

protected:
    virtual HRESULT AgreeMediaType(IPin* receive_pin, const CMediaType* mt);
    virtual HRESULT AttemptConnection(IPin* receive_pin, const CMediaType* mt);
    virtual HRESULT TryMediaTypes(IPin* receive_pin, const CMediaType* partial,
                                  IEnumMediaTypes* types);
    HRESULT DisconnectInternal();

    std::basic_string<WCHAR> m_pName;
    IPin* m_Connected = nullptr;
    PIN_DIRECTION m_dir;
    CCritSec* m_pLock;
    CBaseFilter* m_pFilter;
    CMediaType m_mt;
    bool m_bRunTimeError = false;
    bool m_bCanReconnectWhenActive = false;
    bool m_bTryMyTypesFirst = false;
    double m_dRate = 1.0;

private:
    // Under the lock: VFW_E_ALREADY_CONNECTED or VFW_E_NOT_STOPPED when no
    // connection may begin now, else S_OK.
    HRESULT CanConnect() const;
    // The checks and steps both ends of a connection take: CheckConnect,
    // CheckMediaType, the peer kept, SetMediaType, then (when this pin
    // connects out) the peer's ReceiveConnection, then CompleteConnect. A
    // failure undoes every step taken and BreakConnect runs.
    HRESULT JoinPeer(IPin* peer, const CMediaType* mt, bool connecting_out);

    std::atomic<LONG> m_TypeVersion{1};
};

} // namespace dshow
