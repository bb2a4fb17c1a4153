#include "host/dx/platform/AMovieSetup.h"

namespace dshow {

namespace {

// The mapper's answer when the filter was not registered: the system's
// file-not-found error as an HRESULT.
constexpr HRESULT not_registered = static_cast<HRESULT>(0x80070002u);

HRESULT tolerate_missing(HRESULT hr) {
    return hr == not_registered ? S_OK : hr;
}

} // namespace

HRESULT AMovieSetupRegisterFilter2(const AMOVIESETUP_FILTER* setup, IFilterMapper2* mapper,
                                   BOOL do_register) {
    if (setup == nullptr || mapper == nullptr) {
        return E_POINTER;
    }
    HRESULT hr = tolerate_missing(mapper->UnregisterFilter(nullptr, nullptr, *setup->clsID));
    if (do_register && SUCCEEDED(hr)) {
        REGFILTER2 record{};
        record.dwVersion = 1;
        record.dwMerit = setup->dwMerit;
        record.cPins = setup->nPins;
        record.rgPins = setup->lpPin;
        hr = tolerate_missing(mapper->RegisterFilter(*setup->clsID, setup->strName, nullptr,
                                                     nullptr, nullptr, &record));
    }
    return hr;
}

HRESULT AMovieSetupRegisterFilter(const AMOVIESETUP_FILTER* setup, IFilterMapper* mapper,
                                  BOOL do_register) {
    if (setup == nullptr || mapper == nullptr) {
        return E_POINTER;
    }
    HRESULT hr = tolerate_missing(mapper->UnregisterFilter(*setup->clsID));
    if (!do_register || FAILED(hr)) {
        return hr;
    }
    hr = mapper->RegisterFilter(*setup->clsID, setup->strName, setup->dwMerit);
    for (UINT p = 0; SUCCEEDED(hr) && p < setup->nPins; ++p) {
        const AMOVIESETUP_PIN& pin = setup->lpPin[p];
        hr = mapper->RegisterPin(
            *setup->clsID, pin.strName, pin.bRendered, pin.bOutput, pin.bZero, pin.bMany,
            pin.clsConnectsToFilter ? *pin.clsConnectsToFilter : GUID_NULL, pin.strConnectsToPin);
        for (UINT t = 0; SUCCEEDED(hr) && t < pin.nMediaTypes; ++t) {
            const AMOVIESETUP_MEDIATYPE& type = pin.lpMediaType[t];
            hr = mapper->RegisterPinType(*setup->clsID, pin.strName,
                                         type.clsMajorType ? *type.clsMajorType : GUID_NULL,
                                         type.clsMinorType ? *type.clsMinorType : GUID_NULL);
        }
    }
    return tolerate_missing(hr);
}

HRESULT AMovieRegisterFilter(const AMOVIESETUP_FILTER* setup, BOOL do_register) {
    IFilterMapper2* mapper2 = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFilterMapper2, reinterpret_cast<void**>(&mapper2));
    if (SUCCEEDED(hr)) {
        hr = AMovieSetupRegisterFilter2(setup, mapper2, do_register);
        mapper2->Release();
        return hr;
    }
    IFilterMapper* mapper = nullptr;
    hr = CoCreateInstance(CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper,
                          reinterpret_cast<void**>(&mapper));
    if (SUCCEEDED(hr)) {
        hr = AMovieSetupRegisterFilter(setup, mapper, do_register);
        mapper->Release();
    }
    return hr;
}

} // namespace dshow
