#include "platform/clipboard.h"

#include "platform/host.h"

#include <string>

namespace {

bool opened = false;
bool owned = false;        // emptied since it was opened: data may be set
HLOCAL handedOut = nullptr; // GetClipboardData's block, freed at CloseClipboard

void FreeHandedOut()
{
    LocalFree(handedOut);
    handedOut = nullptr;
}

}  // namespace

BOOL OpenClipboard(HWND)
{
    if (opened) return FALSE;
    opened = true;
    owned = false;
    return TRUE;
}

BOOL CloseClipboard()
{
    if (!opened) return FALSE;
    FreeHandedOut();
    opened = owned = false;
    return TRUE;
}

BOOL EmptyClipboard()
{
    if (!opened || !HostSetClipboardText(std::u16string())) return FALSE;
    owned = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE text)
{
    if (format != CF_UNICODETEXT) NotImplemented("SetClipboardData with a format other than CF_UNICODETEXT");
    size_t units = LocalSize(text) / sizeof(char16_t);
    if (!opened || !owned || units == 0) return nullptr;
    const char16_t* data = static_cast<const char16_t*>(text);
    std::u16string value(data, units);
    value.resize(std::char_traits<char16_t>::length(value.c_str()));
    if (!HostSetClipboardText(value)) return nullptr;
    LocalFree(text);
    return text;
}

HANDLE GetClipboardData(UINT format)
{
    if (format != CF_UNICODETEXT) NotImplemented("GetClipboardData with a format other than CF_UNICODETEXT");
    std::u16string value;
    if (!opened || !HostGetClipboardText(&value)) return nullptr;
    FreeHandedOut();
    size_t bytes = (value.size() + 1) * sizeof(char16_t);
    handedOut = LocalAlloc(LMEM_FIXED, bytes);
    if (handedOut) std::char_traits<char16_t>::copy(static_cast<char16_t*>(handedOut), value.c_str(), value.size() + 1);
    return handedOut;
}
