// The COM library and Win32 services the filter and its base classes use,
// provided on Linux by this folder: task memory, object creation (only the
// built-in filter mapper is known), GUID text, code-page conversion,
// critical sections and events, window notifications and the registry.
#pragma once

#include "host/dx/platform/linux/ComInterfaces.h"

// [any thread] Task memory, as used for media-type format blocks and pin ids.
LPVOID CoTaskMemAlloc(SIZE_T size);
LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T size);
void CoTaskMemFree(LPVOID block);

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
// [any thread] Creates CLSID_FilterMapper2; any other class is REGDB_E_CLASSNOTREG.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID riid, LPVOID* ppv);

// Writes "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; returns the characters written
// with the terminator (39), or 0 when max is too small.
int StringFromGUID2(REFGUID guid, LPOLESTR text, int max);

// Code pages: the ANSI page of this system is UTF-8.
constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
// [any thread] Windows semantics: a length of -1 includes the terminator;
// a capacity of 0 asks for the length needed; 0 is returned on failure.
int MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                        int capacity);
int WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR wide, int length, LPSTR text,
                        int capacity, LPCSTR default_char, BOOL* used_default);

// Critical sections (recursive, as on Windows).
struct CRITICAL_SECTION {
    void* lock;
};
void InitializeCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);

// Events.
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 0x102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manual_reset, BOOL initial_state,
                    LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
DWORD WaitForSingleObject(HANDLE event, DWORD timeout_ms);
BOOL CloseHandle(HANDLE event);
