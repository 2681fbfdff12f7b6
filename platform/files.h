// Files of the emulated device: text-mode wide reading of skin files (CR LF arrives as LF;
// UTF-16 with a byte-order mark, UTF-8 with or without one, otherwise code page 932), the
// program's own path, and file search. Device paths use backslashes; every service turns them
// into host paths.
#pragma once
#include "platform/types.h"
#include <cstdio>

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
};

// The program's FILE is the platform's own wide text stream; its layout is private.
struct WFILE;
WFILE* _wfopen(LPCWSTR path, LPCWSTR mode);
WCHAR* fgetws(WCHAR* buffer, int capacity, WFILE* file);
int fclose(WFILE* file);

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE search);
