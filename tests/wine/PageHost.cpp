#include "PageHost.h"

#include "Check.h"

#include "host/dx/QuevrinIds.h"

#include <cstdio>

using Microsoft::WRL::ComPtr;

std::string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

bool check_result(HRESULT got, HRESULT expected, const std::string& what) {
    return check(got == expected, what + ": " + hex(got) + ", expected " + hex(expected));
}

STDMETHODIMP PageSite::QueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyPageSite)) {
        *ppv = static_cast<IPropertyPageSite*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP PageSite::GetLocaleID(LCID* locale) {
    *locale = LOCALE_USER_DEFAULT;
    return S_OK;
}

STDMETHODIMP PageSite::GetPageContainer(IUnknown** container) {
    *container = nullptr;
    return E_NOTIMPL;
}

HWND make_frame(const char* title, DWORD style, int x, int y, int width, int height) {
    HWND frame = CreateWindowExA(0, "STATIC", title, style | WS_VISIBLE, x, y, width, height,
                                 nullptr, nullptr, nullptr, nullptr);
    check(frame != nullptr, std::string("frame window ") + title);
    return frame;
}

void pump_messages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

namespace {

BOOL CALLBACK find_editor(HWND hwnd, LPARAM found) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name).rfind("VantrelAudioPlugin", 0) == 0) {
        *reinterpret_cast<EditorWindow*>(found) = EditorWindow{hwnd, name};
        return FALSE;
    }
    return TRUE;
}

} // namespace

EditorWindow editor_in(HWND parent) {
    EditorWindow found;
    EnumChildWindows(parent, &find_editor, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool make_filter_and_page(Filter& f) {
    if (!check_hr(CoCreateInstance(host::dx::CLSID_Quevrin, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IUnknown,
                                   reinterpret_cast<void**>(f.unknown.GetAddressOf())),
                  "CoCreateInstance of the filter")) {
        return false;
    }
    f.unknown->QueryInterface(host::dx::IID_ISfPlugInProp,
                              reinterpret_cast<void**>(f.prop.GetAddressOf()));
    ComPtr<ISpecifyPropertyPages> specify;
    CAUUID pages{};
    if (!check_hr(f.unknown.As(&specify), "ISpecifyPropertyPages") ||
        !check_hr(specify->GetPages(&pages), "GetPages")) {
        return false;
    }
    const CLSID clsid = pages.pElems[0];
    CoTaskMemFree(pages.pElems);
    return check_hr(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                     reinterpret_cast<void**>(f.page.GetAddressOf())),
                    "CoCreateInstance of the class id GetPages names");
}
