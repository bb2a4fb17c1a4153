#include "host/dx/platform/CBasePropertyPage.h"

#include <cwchar>

namespace dshow {

namespace {

// The longest page title taken from the string table.
constexpr int max_title = 256;

// The module that holds the page's dialog and title: the one this code is in.
HMODULE page_module() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&page_module), &module);
    return module;
}

} // namespace

CBasePropertyPage::CBasePropertyPage(const char* name, LPUNKNOWN outer, int dialog_id, int title_id)
    : CUnknown(name, outer), m_DialogId(dialog_id), m_TitleId(title_id) {}

CBasePropertyPage::~CBasePropertyPage() {
    if (m_pPageSite != nullptr) {
        m_pPageSite->Release();
    }
}

STDMETHODIMP CBasePropertyPage::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IPropertyPage)) {
        return GetInterface(static_cast<IPropertyPage*>(this), ppv);
    }
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBasePropertyPage::SetPageSite(IPropertyPageSite* site) {
    if (site != nullptr) {
        if (m_pPageSite != nullptr) {
            return E_UNEXPECTED;
        }
        m_pPageSite = site;
        m_pPageSite->AddRef();
        return S_OK;
    }
    if (m_pPageSite == nullptr) {
        return E_UNEXPECTED;
    }
    m_pPageSite->Release();
    m_pPageSite = nullptr;
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (rect == nullptr) {
        return E_POINTER;
    }
    if (!m_bObjectSet || m_hwnd != nullptr) {
        return E_UNEXPECTED;
    }
    HWND dialog = CreateDialogParamW(page_module(), MAKEINTRESOURCEW(m_DialogId), parent,
                                     &DialogProc, reinterpret_cast<LPARAM>(this));
    if (dialog == nullptr) {
        return E_OUTOFMEMORY;
    }
    m_hwnd = dialog;
    // Tab and mnemonics reach the page's own controls through the frame.
    SetWindowLongPtrW(dialog, GWL_EXSTYLE,
                      GetWindowLongPtrW(dialog, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    OnActivate();
    Move(rect);
    return Show(SW_SHOWNORMAL);
}

STDMETHODIMP CBasePropertyPage::Deactivate() {
    if (m_hwnd == nullptr) {
        return E_UNEXPECTED;
    }
    HWND dialog = m_hwnd;
    SetWindowLongPtrW(dialog, GWL_EXSTYLE,
                      GetWindowLongPtrW(dialog, GWL_EXSTYLE) & ~WS_EX_CONTROLPARENT);
    OnDeactivate();
    DestroyWindow(dialog);
    m_hwnd = nullptr;
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::SetObjects(ULONG count, IUnknown** objects) {
    if (count == 1) {
        if (objects == nullptr || objects[0] == nullptr) {
            return E_POINTER;
        }
        m_bObjectSet = TRUE;
        return OnConnect(objects[0]);
    }
    if (count == 0) {
        m_bObjectSet = FALSE;
        return OnDisconnect();
    }
    return E_UNEXPECTED;
}

STDMETHODIMP CBasePropertyPage::Show(UINT command) {
    if (m_hwnd == nullptr) {
        return E_UNEXPECTED;
    }
    if (command != SW_SHOW && command != SW_SHOWNORMAL && command != SW_HIDE) {
        return E_INVALIDARG;
    }
    ShowWindow(m_hwnd, static_cast<int>(command));
    InvalidateRect(m_hwnd, nullptr, TRUE);
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Move(LPCRECT rect) {
    if (rect == nullptr) {
        return E_POINTER;
    }
    if (m_hwnd == nullptr) {
        return E_UNEXPECTED;
    }
    MoveWindow(m_hwnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               TRUE);
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Apply() {
    if (!m_bObjectSet || m_pPageSite == nullptr) {
        return E_UNEXPECTED;
    }
    if (!m_bDirty) {
        return S_OK;
    }
    const HRESULT hr = OnApplyChanges();
    if (SUCCEEDED(hr)) {
        m_bDirty = FALSE;
    }
    return hr;
}

HRESULT CBasePropertyPage::FillPageInfo(PROPPAGEINFO* info, SIZE size) const {
    if (info == nullptr) {
        return E_POINTER;
    }
    WCHAR title[max_title] = {};
    LoadStringW(page_module(), static_cast<UINT>(m_TitleId), title, max_title);
    const std::size_t bytes = (std::wcslen(title) + 1) * sizeof(WCHAR);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::wmemcpy(copy, title, bytes / sizeof(WCHAR));
    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = copy;
    info->size = size;
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

INT_PTR CALLBACK CBasePropertyPage::DialogProc(HWND hwnd, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    }
    auto* page = reinterpret_cast<CBasePropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (page == nullptr) {
        return FALSE;
    }
    return page->OnReceiveMessage(hwnd, message, wparam, lparam);
}

} // namespace dshow
