#include "engine/skin_layout.h"

#include "engine/app_globals.h"
#include "platform/windows.h"

Area SkinLayout[AreaCount];

bool AreaContains(const Area& area, int64_t px, int64_t py)
{
    return area.x <= px && px < int64_t(area.x) + area.width && area.y <= py &&
           py < int64_t(area.y) + area.height;
}

void InvalidateArea(const Area& area)
{
    // Wrapping sums: a skin may hold any 32-bit numbers.
    RECT rect = {area.x, area.y, LONG(uint32_t(area.x) + uint32_t(area.width)),
                 LONG(uint32_t(area.y) + uint32_t(area.height))};
    InvalidateRect(mainWindow, &rect, FALSE);
}
