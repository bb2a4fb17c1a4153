// Basic Win32/COM scalar types, GUIDs and result codes for Linux builds.
// Sizes follow the Windows LLP64 model so that structures and results
// exchanged through the COM interfaces have the same layout as on Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using BOOL = int;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using HRESULT = std::int32_t;
using LSTATUS = LONG;
using SIZE_T = std::size_t;
using DWORD_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using WCHAR = char16_t;
using OLECHAR = WCHAR;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using PVOID = void*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using HANDLE = void*;
using HEVENT = DWORD_PTR;
using HSEMAPHORE = DWORD_PTR;
struct HWND__;
using HWND = HWND__*;
struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

static_assert(sizeof(WCHAR) == 2, "WCHAR must be a 16-bit code unit as on Windows");

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// No __stdcall on Linux: interfaces use the ordinary C++ virtual call ABI.
#define STDMETHODCALLTYPE
#define WINAPI
#define CALLBACK
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define PURE = 0
#define STDAPI extern "C" HRESULT
#define STDAPI_(type) extern "C" type

#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff))
#define MAKELONG(lo, hi)                                                                           \
    (static_cast<LONG>((static_cast<DWORD>(lo) & 0xffff) |                                         \
                       ((static_cast<DWORD>(hi) & 0xffff) << 16)))

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using LPCLSID = CLSID*;

inline bool operator==(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool operator!=(const GUID& a, const GUID& b) {
    return !(a == b);
}
inline BOOL IsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}
inline BOOL IsEqualIID(REFIID a, REFIID b) {
    return a == b;
}
inline BOOL IsEqualCLSID(REFCLSID a, REFCLSID b) {
    return a == b;
}

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    };
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};
union ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    };
    struct {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    ULONGLONG QuadPart;
};

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

constexpr HRESULT hresult_from_bits(std::uint32_t bits) {
    return static_cast<HRESULT>(bits);
}

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
// A Win32 error code as an HRESULT of the Win32 facility (7).
constexpr HRESULT HRESULT_FROM_WIN32(LONG error) {
    return error <= 0 ? static_cast<HRESULT>(error)
                      : hresult_from_bits((static_cast<std::uint32_t>(error) & 0xFFFFu) |
                                          (7u << 16) | 0x80000000u);
}

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT NOERROR = 0;
constexpr HRESULT E_NOTIMPL = hresult_from_bits(0x80004001u);
constexpr HRESULT E_NOINTERFACE = hresult_from_bits(0x80004002u);
constexpr HRESULT E_POINTER = hresult_from_bits(0x80004003u);
constexpr HRESULT E_ABORT = hresult_from_bits(0x80004004u);
constexpr HRESULT E_FAIL = hresult_from_bits(0x80004005u);
constexpr HRESULT E_UNEXPECTED = hresult_from_bits(0x8000FFFFu);
constexpr HRESULT E_OUTOFMEMORY = hresult_from_bits(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = hresult_from_bits(0x80070057u);
constexpr HRESULT CLASS_E_NOAGGREGATION = hresult_from_bits(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hresult_from_bits(0x80040111u);
constexpr HRESULT REGDB_E_CLASSNOTREG = hresult_from_bits(0x80040154u);
constexpr HRESULT STG_E_READFAULT = hresult_from_bits(0x8003001Eu);
constexpr HRESULT STG_E_WRITEFAULT = hresult_from_bits(0x8003001Du);

// DirectShow results.
constexpr HRESULT VFW_S_NO_MORE_ITEMS = hresult_from_bits(0x00040103u);
constexpr HRESULT VFW_S_NO_STOP_TIME = hresult_from_bits(0x00040270u);
constexpr HRESULT VFW_E_INVALIDMEDIATYPE = hresult_from_bits(0x80040200u);
constexpr HRESULT VFW_E_INVALIDSUBTYPE = hresult_from_bits(0x80040201u);
constexpr HRESULT VFW_E_NEED_OWNER = hresult_from_bits(0x80040202u);
constexpr HRESULT VFW_E_ENUM_OUT_OF_SYNC = hresult_from_bits(0x80040203u);
constexpr HRESULT VFW_E_ALREADY_CONNECTED = hresult_from_bits(0x80040204u);
constexpr HRESULT VFW_E_NO_ACCEPTABLE_TYPES = hresult_from_bits(0x80040207u);
constexpr HRESULT VFW_E_INVALID_DIRECTION = hresult_from_bits(0x80040208u);
constexpr HRESULT VFW_E_NOT_CONNECTED = hresult_from_bits(0x80040209u);
constexpr HRESULT VFW_E_NO_ALLOCATOR = hresult_from_bits(0x8004020Au);
constexpr HRESULT VFW_E_RUNTIME_ERROR = hresult_from_bits(0x8004020Bu);
constexpr HRESULT VFW_E_BUFFER_NOTSET = hresult_from_bits(0x8004020Cu);
constexpr HRESULT VFW_E_BUFFER_OVERFLOW = hresult_from_bits(0x8004020Du);
constexpr HRESULT VFW_E_BADALIGN = hresult_from_bits(0x8004020Eu);
constexpr HRESULT VFW_E_ALREADY_COMMITTED = hresult_from_bits(0x8004020Fu);
constexpr HRESULT VFW_E_BUFFERS_OUTSTANDING = hresult_from_bits(0x80040210u);
constexpr HRESULT VFW_E_NOT_COMMITTED = hresult_from_bits(0x80040211u);
constexpr HRESULT VFW_E_SIZENOTSET = hresult_from_bits(0x80040212u);
constexpr HRESULT VFW_E_NOT_FOUND = hresult_from_bits(0x80040216u);
constexpr HRESULT VFW_E_NOT_STOPPED = hresult_from_bits(0x80040224u);
constexpr HRESULT VFW_E_WRONG_STATE = hresult_from_bits(0x80040227u);
constexpr HRESULT VFW_E_TYPE_NOT_ACCEPTED = hresult_from_bits(0x8004022Au);
constexpr HRESULT VFW_E_TIMEOUT = hresult_from_bits(0x8004022Eu);
constexpr HRESULT VFW_E_SAMPLE_TIME_NOT_SET = hresult_from_bits(0x80040249u);
constexpr HRESULT VFW_E_MEDIA_TIME_NOT_SET = hresult_from_bits(0x80040251u);
constexpr HRESULT VFW_E_NOT_IN_GRAPH = hresult_from_bits(0x8004025Fu);

// Win32 error codes used with the registry.
constexpr LSTATUS ERROR_SUCCESS = 0;
constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
constexpr LSTATUS ERROR_INSUFFICIENT_BUFFER = 122;
constexpr LSTATUS ERROR_MORE_DATA = 234;
constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
constexpr LSTATUS ERROR_NO_UNICODE_TRANSLATION = 1113;
