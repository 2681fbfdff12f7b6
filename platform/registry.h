// The registry of the emulated device, kept per user in a REGEDIT4 text file
// ($NUMBRIX_REGISTRY, else $XDG_CONFIG_HOME/numbrix/registry.reg, else ~/.config/numbrix/...),
// read at every call and rewritten atomically at every change (temporary file, flush, rename), so
// a crash while saving leaves the previous file whole. A new key, which holds nothing yet, is
// written without the flush. Key and value names compare without regard to case, as on Windows.
// A file that cannot be written makes the writing calls fail and is told on standard error, one
// line naming the file and the reason (once for each); a damaged file is read as far as it is
// sound. Key handles are checked: a bogus one is an error.
// Implemented: string values (REG_SZ) under HKEY_LOCAL_MACHINE keys. Left out: other value types,
// other root keys, keys opened under keys, key deletion, enumeration.
#pragma once
#include "platform/types.h"

#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)0x80000002u)
#define KEY_ALL_ACCESS 0xF003Fu
#define REG_SZ 1
#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_WRITE_FAULT 29L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_DISK_FULL 112L
#define ERROR_MORE_DATA 234L

struct SECURITY_ATTRIBUTES;

LONG RegCreateKeyExW(HKEY parent, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM access, SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition);
// Opens a key that exists; ERROR_FILE_NOT_FOUND, with nothing written, for one that does not.
LONG RegOpenKeyExW(HKEY parent, LPCWSTR subKey, DWORD options, REGSAM access, HKEY* result);
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* dataSize);
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD dataSize);
LONG RegCloseKey(HKEY key);
