#include "host/dx/CSfPlugInPropPage.h"

#include "host/dx/QuevrinIds.h"
#include "mppi/GuiInterface.h"
#include "pengui/WindowInterface.h"

#include <new>

namespace host::dx {

CSfPlugInPropPage::CSfPlugInPropPage(LPUNKNOWN outer)
    : dshow::CBasePropertyPage("VANTREL - Quevrin Property Page", outer, dialog_id, title_id) {}

CSfPlugInPropPage::~CSfPlugInPropPage() {
    if (m_pProp != nullptr) {
        m_pProp->Release();
    }
}

dshow::CUnknown* CSfPlugInPropPage::CreateInstance(LPUNKNOWN outer, HRESULT* phr) {
    dshow::CUnknown* page = new (std::nothrow) CSfPlugInPropPage(outer);
    if (page == nullptr && phr != nullptr) {
        *phr = E_OUTOFMEMORY;
    }
    return page;
}

STDMETHODIMP CSfPlugInPropPage::GetPageInfo(PROPPAGEINFO* info) {
    SIZE size{0, 0};
    if (m_pProp != nullptr) {
        if (pengui::WindowInterface* window = m_pProp->GetEditorWindow()) {
            size = SIZE{window->window_width(), window->window_height()};
        }
    }
    return FillPageInfo(info, size);
}

HRESULT CSfPlugInPropPage::OnConnect(IUnknown* object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (m_pProp != nullptr) {
        m_pProp->Release();
        m_pProp = nullptr;
    }
    if (FAILED(object->QueryInterface(IID_ISfPlugInProp, reinterpret_cast<void**>(&m_pProp)))) {
        m_pProp = nullptr;
        return E_NOINTERFACE;
    }
    if (m_hwnd != nullptr) {
        m_pProp->SetNotifyWindow(m_hwnd, notify_id);
    }
    return S_OK;
}

HRESULT CSfPlugInPropPage::OnDisconnect() {
    if (m_pProp == nullptr) {
        return E_UNEXPECTED;
    }
    if (m_hwnd != nullptr) {
        m_pProp->SetNotifyWindow(m_hwnd, 0);
    }
    m_pProp->Release();
    m_pProp = nullptr;
    return S_OK;
}

INT_PTR CSfPlugInPropPage::OnReceiveMessage(HWND hwnd, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        m_hwnd = hwnd;
        if (m_pProp != nullptr) {
            m_pProp->SetNotifyWindow(hwnd, notify_id);
            try {
                // The editor's window is made with its skin and scene at the
                // first request; without it there is nothing to open.
                mppi::GuiInterface* gui = m_pProp->GetGui();
                if (gui != nullptr && m_pProp->GetEditorWindow() != nullptr) {
                    gui->open(hwnd);
                }
            } catch (...) {
                // The editor failing to open leaves an empty page, nothing worse.
            }
        }
        return 1;
    case WM_DESTROY:
        if (m_pProp != nullptr) {
            try {
                if (mppi::GuiInterface* gui = m_pProp->GetGui()) {
                    gui->close();
                }
            } catch (...) {
                // Closing goes on: the dialog is going away regardless.
            }
            m_pProp->SetNotifyWindow(hwnd, 0);
        }
        m_hwnd = nullptr;
        return 0;
    default:
        return 0;
    }
}

} // namespace host::dx
