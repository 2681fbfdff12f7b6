// Wide-character formatting of the device's runtime, over char16_t.
// wsprintfW: literal text, "%%", "%s" (a wide text), "%d" (a signed int, zero-padded to a width
// with "%0Nd", N from 1 to 9) and "%x" (an unsigned int in lower-case hexadecimal); it writes at
// most 1024 units with the terminator, as the device's does. swscanf: "%d" (white space skipped,
// optional sign, decimal digits; a number beyond 32 bits wraps modulo 2^32) and literal characters
// that must match exactly; it returns the count of assigned fields, or -1 when the input ends
// before the first conversion. Any other conversion, flag or width aborts as not implemented.
#pragma once
#include "platform/types.h"
#include <cwchar>   // the C library's wchar_t helpers, which those below overload

enum { WsprintfMax = 1024 };   // wsprintfW's limit, terminator included

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
int swscanf(LPCWSTR input, LPCWSTR format, ...);

// The C runtime's wide string helpers over char16_t, with the C semantics.
size_t wcslen(LPCWSTR text);
WCHAR* wcscpy(LPWSTR dest, LPCWSTR source);
int wcscmp(LPCWSTR a, LPCWSTR b);
int wcsncmp(LPCWSTR a, LPCWSTR b, size_t count);
WCHAR* wcschr(LPCWSTR text, WCHAR c);
WCHAR* wcsrchr(LPCWSTR text, WCHAR c);
