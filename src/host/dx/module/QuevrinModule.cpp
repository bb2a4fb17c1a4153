// The module's class table and its registration entry points: the filter and,
// where the system has property pages, the filter's page.
#include "host/dx/CSfPlugIn.h"
#include "host/dx/QuevrinIds.h"
#include "host/dx/module/ModulePath.h"
#include "host/dx/platform/CClassFactory.h"
#ifdef _WIN32
#include "host/dx/CSfPlugInPropPage.h"
#endif

#include <string>

dshow::CFactoryTemplate g_Templates[] = {
    {WIDE_TEXT("VANTREL - Quevrin"), &host::dx::CLSID_Quevrin, host::dx::CSfPlugIn::CreateInstance,
     nullptr, &host::dx::quevrin_setup},
#ifdef _WIN32
    {WIDE_TEXT("VANTREL - Quevrin Property Page"), &host::dx::CLSID_QuevrinPropertyPage,
     host::dx::CSfPlugInPropPage::CreateInstance, nullptr, nullptr},
#endif
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

namespace {

// "CLSID\{XXXXXXXX-...}", the class's key under HKEY_CLASSES_ROOT.
std::string class_key(const CLSID& clsid) {
    WCHAR wide[40];
    StringFromGUID2(clsid, wide, 40);
    std::string key = "CLSID\\";
    for (int i = 0; wide[i] != 0; ++i) {
        key += static_cast<char>(wide[i]); // a GUID's text is ASCII
    }
    return key;
}

HRESULT set_string(HKEY key, const char* name, const std::string& value) {
    const LSTATUS status =
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    return HRESULT_FROM_WIN32(status);
}

HRESULT register_class(const CLSID& clsid, const std::string& path) {
    HKEY key = nullptr;
    const std::string server = class_key(clsid) + "\\InprocServer32";
    LSTATUS status = RegCreateKeyExA(HKEY_CLASSES_ROOT, server.c_str(), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        return HRESULT_FROM_WIN32(status);
    }
    HRESULT hr = set_string(key, nullptr, path);
    if (SUCCEEDED(hr)) {
        hr = set_string(key, "ThreadingModel", "Both");
    }
    RegCloseKey(key);
    return hr;
}

// Creates the template's object and registers or unregisters it through its
// IAMovieSetup; an object that cannot be made for lack of that interface or
// class counts as done.
HRESULT setup_object(const dshow::CFactoryTemplate& entry, bool do_register) {
    HRESULT hr = S_OK;
    dshow::CUnknown* object = entry.CreateInstance(nullptr, &hr);
    if (object == nullptr) {
        hr = FAILED(hr) ? hr : E_OUTOFMEMORY;
        return hr == E_NOINTERFACE || hr == REGDB_E_CLASSNOTREG ? S_OK : hr;
    }
    object->NonDelegatingAddRef();
    IAMovieSetup* setup = nullptr;
    hr = object->NonDelegatingQueryInterface(IID_IAMovieSetup, reinterpret_cast<void**>(&setup));
    if (SUCCEEDED(hr)) {
        hr = do_register ? setup->Register() : setup->Unregister();
        setup->Release();
    } else if (hr == E_NOINTERFACE) {
        hr = S_OK;
    }
    object->NonDelegatingRelease();
    return hr;
}

} // namespace

STDAPI DllRegisterServer() {
    dshow::AMovieDllRegisterServer2(TRUE);
    std::string path;
    HRESULT hr = host::dx::module_path(path);
    if (FAILED(hr)) {
        return hr;
    }
    for (int i = 0; i < g_cTemplates && SUCCEEDED(hr); ++i) {
        hr = register_class(*g_Templates[i].m_ClsID, path);
        if (SUCCEEDED(hr) && g_Templates[i].m_pAMovieSetup_Filter != nullptr) {
            hr = setup_object(g_Templates[i], true);
        }
    }
    return hr;
}

STDAPI DllUnregisterServer() {
    const HRESULT mapper = dshow::AMovieDllRegisterServer2(FALSE);
    HRESULT hr = S_OK;
    for (int i = g_cTemplates - 1; i >= 0; --i) {
        HRESULT step = S_OK;
        if (g_Templates[i].m_pAMovieSetup_Filter != nullptr) {
            step = setup_object(g_Templates[i], false);
        }
        const LSTATUS status =
            RegDeleteTreeA(HKEY_CLASSES_ROOT, class_key(*g_Templates[i].m_ClsID).c_str());
        if (SUCCEEDED(step) && status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
            step = HRESULT_FROM_WIN32(status);
        }
        if (SUCCEEDED(hr)) {
            hr = step;
        }
    }
    return FAILED(mapper) ? mapper : hr;
}
