#include "host/dx/platform/AMovieSetup.h"
#include "host/dx/platform/CFactoryTemplate.h"

namespace dshow {

HRESULT AMovieDllRegisterServer2(BOOL do_register) {
    const HRESULT init = CoInitialize(nullptr);
    HRESULT result = S_OK;
    for (int i = 0; i < g_cTemplates; ++i) {
        const AMOVIESETUP_FILTER* setup = g_Templates[i].m_pAMovieSetup_Filter;
        if (setup == nullptr) {
            continue;
        }
        const HRESULT hr = AMovieRegisterFilter(setup, do_register);
        if (FAILED(hr) && SUCCEEDED(result)) {
            result = hr;
        }
    }
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return result;
}

} // namespace dshow
