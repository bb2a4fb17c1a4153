// Filter registration records and the routines that hand them to the filter
// mapper, for DllRegisterServer and IAMovieSetup.
#pragma once

#include "host/dx/platform/com.h"

namespace dshow {

using AMOVIESETUP_MEDIATYPE = REGPINTYPES;
using LPAMOVIESETUP_MEDIATYPE = REGPINTYPES*;
using AMOVIESETUP_PIN = REGFILTERPINS;
using LPAMOVIESETUP_PIN = REGFILTERPINS*;

struct AMOVIESETUP_FILTER {
    const CLSID* clsID;
    const WCHAR* strName;
    DWORD dwMerit;
    UINT nPins;
    const AMOVIESETUP_PIN* lpPin;
};
using LPAMOVIESETUP_FILTER = AMOVIESETUP_FILTER*;

// [editor thread] Unregisters the filter's class id from the default category,
// then, when registering, registers the record (version 1: merit and pins).
// A mapper answer of 0x80070002 (nothing registered yet) counts as success.
HRESULT AMovieSetupRegisterFilter2(const AMOVIESETUP_FILTER* setup, IFilterMapper2* mapper,
                                   BOOL do_register);
// [editor thread] The same through the older IFilterMapper.
HRESULT AMovieSetupRegisterFilter(const AMOVIESETUP_FILTER* setup, IFilterMapper* mapper,
                                  BOOL do_register);
// [editor thread] Creates the filter mapper (IFilterMapper2, else IFilterMapper)
// and runs one of the two above with it.
HRESULT AMovieRegisterFilter(const AMOVIESETUP_FILTER* setup, BOOL do_register);
// [editor thread] Runs AMovieRegisterFilter for every factory template of the
// module (g_Templates) that has filter setup data; returns the first failure.
HRESULT AMovieDllRegisterServer2(BOOL do_register);

} // namespace dshow
