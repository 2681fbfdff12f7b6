// GetDC and ReleaseDC: a window's DC is a GDI surface DC over its backing surface, and every
// drawing into it has the screen composed again.
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
        window, [window] { return WindowBackingSurface(window); }, [window] { WindowSurfaceChanged(window); });
}

int ReleaseDC(HWND window, HDC dc)
{
    if (ShouldFail("ReleaseDC")) return 0;
    return DeleteSurfaceDC(dc, window) ? 1 : 0;
}
