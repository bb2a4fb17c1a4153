#include "FakeFilterGraph.h"

STDMETHODIMP FakeFilterGraph::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IFilterGraph)) {
        *ppv = static_cast<IFilterGraph*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) FakeFilterGraph::Release() {
    const ULONG left = --m_references;
    if (left == 0) {
        delete this;
    }
    return left;
}

STDMETHODIMP FakeFilterGraph::Reconnect(IPin* pin) {
    if (pin == nullptr) {
        return E_POINTER;
    }
    pin->AddRef();
    m_pending.push_back(pin);
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::Disconnect(IPin* pin) {
    return pin != nullptr ? pin->Disconnect() : E_POINTER;
}

HRESULT FakeFilterGraph::perform_reconnects() {
    HRESULT result = S_OK;
    for (IPin* pin : m_pending) {
        IPin* peer = nullptr;
        HRESULT hr = pin->ConnectedTo(&peer);
        if (SUCCEEDED(hr)) {
            pin->Disconnect();
            peer->Disconnect();
            hr = pin->Connect(peer, nullptr);
            peer->Release();
        }
        if (FAILED(hr) && SUCCEEDED(result)) {
            result = hr;
        }
        pin->Release();
    }
    m_pending.clear();
    return result;
}
