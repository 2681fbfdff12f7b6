#include "display/number_clipboard.h"

#include "display/display_text.h"
#include "engine/app_globals.h"
#include "engine/pasted_number.h"
#include "platform/wince.h"

void CopyShownNumber(HWND owner)
{
    WCHAR text[DisplayTextMax + 1];
    int length = BuildCopyText(&calcState, text);
    if (length == 0 || !OpenClipboard(owner)) return;
    HLOCAL block = LocalAlloc(LMEM_FIXED, size_t(length + 1) * sizeof(WCHAR));
    if (block) {
        wcscpy(static_cast<WCHAR*>(block), text);
        // The clipboard owns the block once it has taken it.
        if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block)) LocalFree(block);
    }
    CloseClipboard();
}

void PasteNumberFromClipboard(HWND owner)
{
    if (!OpenClipboard(owner)) return;
    HANDLE text = GetClipboardData(CF_UNICODETEXT);
    bool pasted = text && PasteNumber(static_cast<LPCWSTR>(text)) == 0;
    CloseClipboard();
    if (pasted) InvalidateRect(mainWindow, nullptr, FALSE);
}
