#include "host/dx/platform/linux/ComRuntime.h"
#include "host/dx/platform/linux/FilterMapper.h"

#include <cstdio>
#include <cstdlib>
#include <new>

LPVOID CoTaskMemAlloc(SIZE_T size) {
    return std::malloc(size == 0 ? 1 : size);
}

LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T size) {
    return std::realloc(block, size == 0 ? 1 : size);
}

void CoTaskMemFree(LPVOID block) {
    std::free(block);
}

// There is no apartment model to set up on Linux.
HRESULT CoInitialize(LPVOID) {
    return S_OK;
}

void CoUninitialize() {}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (clsid != CLSID_FilterMapper2) {
        return REGDB_E_CLASSNOTREG;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    auto* mapper = new (std::nothrow) comshim::FilterMapper();
    if (mapper == nullptr) {
        return E_OUTOFMEMORY;
    }
    mapper->AddRef();
    const HRESULT hr = mapper->QueryInterface(riid, ppv);
    mapper->Release();
    return hr;
}

int StringFromGUID2(REFGUID guid, LPOLESTR text, int max) {
    constexpr int length = 39;
    if (text == nullptr || max < length) {
        return 0;
    }
    char narrow[length + 1];
    std::snprintf(narrow, sizeof narrow, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    for (int i = 0; i < length; ++i) {
        text[i] = static_cast<WCHAR>(narrow[i]);
    }
    return length;
}
