#include "engine/skin_layout.h"

Area SkinLayout[AreaCount];

bool AreaContains(const Area& area, int64_t px, int64_t py)
{
    return area.x <= px && px < int64_t(area.x) + area.width && area.y <= py &&
           py < int64_t(area.y) + area.height;
}
