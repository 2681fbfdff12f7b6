// GetDC and ReleaseDC: a window's DC is a GDI surface DC over its backing surface, and what a
// drawing into it changed is composed on the screen again.
#include "platform/windows.h"

#include "platform/faults.h"
#include "platform/gdi/gdi_internals.h"
#include "platform/inspect.h"
#include "platform/user/window_internals.h"

HDC GetDC(HWND window)
{
    if (ShouldFail("GetDC")) return nullptr;
    if (!window || !WindowBackingSurface(window)) return nullptr;
    return CreateSurfaceDC(
        window, [window] { return WindowBackingSurface(window); },
        [window](const RECT& area) { WindowSurfaceAreaChanged(window, area); });
}

int ReleaseDC(HWND window, HDC dc)
{
    if (ShouldFail("ReleaseDC")) return 0;
    return DeleteSurfaceDC(dc, window) ? 1 : 0;
}
