// The filter's property page: an empty dialog in which the editor opens. It
// reaches the filter through ISfPlugInProp; the editor object belongs to the
// filter and outlives the page, only its window opens and closes with the
// page's dialog. Windows only.
//
// Every operation runs on the host's user-interface thread.
#pragma once

#include "host/dx/ISfPlugInProp.h"
#include "host/dx/platform/CBasePropertyPage.h"

namespace host::dx {

class CSfPlugInPropPage : public dshow::CBasePropertyPage {
public:
    static constexpr int dialog_id = 101;
    static constexpr int title_id = 1;
    // The WM_COMMAND id the filter's notifications carry to the page.
    static constexpr WORD notify_id = 32700;

    // [editor thread] The class factory's create function; E_OUTOFMEMORY.
    static dshow::CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr);
    ~CSfPlugInPropPage() override;

    // [editor thread] Title string 1 and the editor window's size.
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;

    // [editor thread] Takes the object's ISfPlugInProp (E_POINTER,
    // E_NOINTERFACE); an existing dialog is registered for notifications.
    HRESULT OnConnect(IUnknown* object) override;
    // [editor thread] E_UNEXPECTED when nothing is connected.
    HRESULT OnDisconnect() override;
    // [editor thread] WM_INITDIALOG opens the editor in the dialog, WM_DESTROY
    // closes it.
    INT_PTR OnReceiveMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    explicit CSfPlugInPropPage(LPUNKNOWN outer);

    ISfPlugInProp* m_pProp = nullptr;
};

} // namespace host::dx
