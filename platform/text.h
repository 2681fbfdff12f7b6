// Wide-character formatting of the device's runtime, over char16_t: wsprintfW with %s, %d, %x and
// zero-padded widths ("%02d", "%03d"), and swscanf with %d (blanks skipped before a number) and
// literal characters, returning the count of assigned fields (-1 at end of input before any).
#pragma once
#include "platform/types.h"

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
int swscanf(LPCWSTR input, LPCWSTR format, ...);

// The C runtime's wide string helpers over char16_t.
size_t wcslen(LPCWSTR text);
WCHAR* wcscpy(LPWSTR dest, LPCWSTR source);
WCHAR* wcsncpy(LPWSTR dest, LPCWSTR source, size_t count);
int wcscmp(LPCWSTR a, LPCWSTR b);
WCHAR* wcsrchr(LPCWSTR text, WCHAR c);
WCHAR* wcschr(LPCWSTR text, WCHAR c);
