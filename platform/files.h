// Files of the emulated device. Device paths use backslashes; every service turns them into host
// paths (slashes).
// Implemented: _wfopen in mode "rt" only, which reads the whole file at open (regular files of at
// most 2 MiB; larger ones are refused as unreadable) and decodes it: a UTF-16 LE or BE byte-order
// mark selects UTF-16, a UTF-8 mark is skipped, otherwise well-formed UTF-8 is read as UTF-8 and
// anything else as code page 932; CR LF arrives as LF. fgetws and fclose over such a stream.
// GetModuleFileNameW for the program itself. _wfullpath against the process's working directory
// (the device has none; relative paths come only from the command line). FindFirstFileW / FindNextFileW / FindClose with "*"
// and "?" in the last component of the pattern, matching letters without regard to ASCII case.
// Left out: writing, binary mode, seeking, other modules, wildcards in directory names.
#pragma once
#include "platform/types.h"
// The C library's declarations come first: its headers refer to fclose by name, which this header
// overloads for the device's wide streams.
#include <cstdio>
#include <cwchar>

#define FILE_ATTRIBUTE_DIRECTORY 0x10u
#define FILE_ATTRIBUTE_NORMAL 0x80u

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
// The absolute form of a path, "." and ".." resolved, into absolute (maxLength units); null when
// it does not fit. absolute must not be null.
WCHAR* _wfullpath(WCHAR* absolute, const WCHAR* relative, size_t maxLength);
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE search);
