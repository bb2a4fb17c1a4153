// A file-backed registry with the Win32 registry calls that registration
// needs. The store is a text file at $QUEVRIN_REGISTRY, else
// $XDG_CONFIG_HOME/quevrin/registry, else ~/.config/quevrin/registry; every
// call reads it and every change rewrites it, so separate processes (the
// module's registration and the CLI host's listing) see each other's keys.
#pragma once

#include "host/dx/platform/linux/ComRuntime.h"

#include <string>

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u)))

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// [any thread] Key names are matched without regard to ASCII case; a null or
// empty value name is the key's default value.
LSTATUS RegCreateKeyExA(HKEY parent, LPCSTR sub_key, DWORD reserved, LPSTR class_name,
                        DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                        LPDWORD disposition);
LSTATUS RegOpenKeyExA(HKEY parent, LPCSTR sub_key, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);
LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size);
LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD name_length, LPDWORD reserved,
                      LPSTR class_name, LPDWORD class_length, FILETIME* last_write);
LSTATUS RegDeleteTreeA(HKEY key, LPCSTR sub_key);
LSTATUS RegCloseKey(HKEY key);

namespace comshim {

// [any thread] The file the registry is kept in at this moment.
std::string registry_file();

} // namespace comshim
