// The module's table of creatable classes. A module defines
//     CFactoryTemplate g_Templates[] = {{name, &clsid, create, init, &setup}, ...};
//     int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);
// and DllGetClassObject / DllCanUnloadNow (CClassFactory.cpp) serve it.
#pragma once

#include "host/dx/platform/AMovieSetup.h"
#include "host/dx/platform/CUnknown.h"

namespace dshow {

// Creates an object aggregated by outer (may be null); on failure returns null
// or sets *phr.
using LPFNNewCOMObject = CUnknown* (*)(LPUNKNOWN outer, HRESULT* phr);
// Called with TRUE when the module loads and FALSE when it unloads, or null.
using LPFNInitRoutine = void (*)(BOOL loading, const CLSID* clsid);

class CFactoryTemplate {
public:
    const WCHAR* m_Name;
    const CLSID* m_ClsID;
    LPFNNewCOMObject m_lpfnNew;
    LPFNInitRoutine m_lpfnInit;
    const AMOVIESETUP_FILTER* m_pAMovieSetup_Filter; // null: no filter registration

    BOOL IsClassID(REFCLSID clsid) const { return IsEqualCLSID(*m_ClsID, clsid); }
    CUnknown* CreateInstance(LPUNKNOWN outer, HRESULT* phr) const { return m_lpfnNew(outer, phr); }
};

} // namespace dshow

// Defined by the module, at global scope as the class factory's entry points
// look them up.
extern dshow::CFactoryTemplate g_Templates[];
extern int g_cTemplates;
