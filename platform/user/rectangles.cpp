// Rectangles as the device's user library gives them: the right and bottom edges lie outside.
#include "platform/windows.h"

#include <algorithm>

// The part two rectangles share; when they share none, an empty rectangle (all zero) and FALSE.
// The result may be one of the two.
BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b)
{
    if (!dest || !a || !b) return FALSE;
    RECT shared{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                std::min(a->bottom, b->bottom)};
    bool empty = shared.right <= shared.left || shared.bottom <= shared.top;
    *dest = empty ? RECT{0, 0, 0, 0} : shared;
    return empty ? FALSE : TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point)
{
    return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}
