// The one header through which the filter and its base classes see COM,
// DirectShow and the few Win32 services they use: the system's own headers on
// Windows, the declarations of linux/ elsewhere.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <dshow.h>
#include <mmreg.h>
#include <olectl.h>

#define QUEVRIN_WIDE_(text) L##text
#else
#include "host/dx/platform/linux/ComRuntime.h"
#include "host/dx/platform/linux/Registry.h"
#include "host/dx/platform/linux/WindowNotify.h"

#define QUEVRIN_WIDE_(text) u##text
#endif

// A WCHAR string literal on both platforms: WIDE_TEXT("Input").
#define WIDE_TEXT(text) QUEVRIN_WIDE_(text)
