#include "platform/windows.h"

#include "platform/inspect.h"

namespace {
std::vector<InvalidateRecord> invalidateLog;
}

const std::vector<InvalidateRecord>& InvalidateLog()
{
    return invalidateLog;
}

void ClearInvalidateLog()
{
    invalidateLog.clear();
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL)
{
    if (invalidateLog.size() >= 100000) invalidateLog.clear();   // only tests read it
    invalidateLog.push_back(InvalidateRecord{window, rect == nullptr, rect ? *rect : RECT{}});
    return TRUE;
}
