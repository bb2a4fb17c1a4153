// The base of an OLE property page shown by a host's property frame: it keeps
// the frame's page site, turns a dialog template into the page's window and
// hands that dialog's messages and the connection to the derived page.
// Windows only: the page lives in a dialog window of the system.
#pragma once

#include "host/dx/platform/CUnknown.h"

namespace dshow {

class CBasePropertyPage : public IPropertyPage, public CUnknown {
public:
    // dialog_id: the page's dialog template; title_id: its title string.
    CBasePropertyPage(const char* name, LPUNKNOWN outer, int dialog_id, int title_id);
    ~CBasePropertyPage() override;

    DECLARE_IUNKNOWN

    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // The derived page's hooks. [editor thread]
    virtual HRESULT OnConnect(IUnknown*) { return S_OK; }
    virtual HRESULT OnDisconnect() { return S_OK; }
    virtual HRESULT OnActivate() { return S_OK; }
    virtual HRESULT OnDeactivate() { return S_OK; }
    virtual HRESULT OnApplyChanges() { return S_OK; }
    // The dialog's messages; the result is the dialog procedure's.
    virtual INT_PTR OnReceiveMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }

    // IPropertyPage, for the frame. [editor thread]
    // A site while none is held, or null to let the held one go; otherwise E_UNEXPECTED.
    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    // Creates the dialog in parent, calls OnActivate, moves it to rect and shows it.
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    // Calls OnDeactivate and destroys the dialog.
    STDMETHODIMP Deactivate() override;
    // One object connects (OnConnect), none disconnects (OnDisconnect).
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    // SW_HIDE, SW_SHOWNORMAL and SW_SHOW; others E_INVALIDARG.
    STDMETHODIMP Show(UINT command) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override { return m_bDirty ? S_OK : S_FALSE; }
    // OnApplyChanges when dirty; then clean.
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return E_NOTIMPL; }

protected:
    // [editor thread] The record with the title (string title_id, in memory
    // from CoTaskMemAlloc) and the given size; no help. E_POINTER, E_OUTOFMEMORY.
    HRESULT FillPageInfo(PROPPAGEINFO* info, SIZE size) const;

    HWND m_hwnd = nullptr; // the dialog, from WM_INITDIALOG until WM_DESTROY
    IPropertyPageSite* m_pPageSite = nullptr;
    BOOL m_bDirty = FALSE;
    BOOL m_bObjectSet = FALSE;
    const int m_DialogId;
    const int m_TitleId;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
};

} // namespace dshow
