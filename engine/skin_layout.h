// Where things sit on the calculator face: 43 rectangles in client-area pixels, filled by the
// skin loader. Areas 0-28 are the keys, 29 the display panel, 30-41 the display positions
// (30 the rightmost), 42 the operator indicator.
#pragma once
#include <cstdint>

// The face is the main window's client area, which skins are drawn for: the device's 240 x 320
// screen less the title bar and the menu bar.
constexpr int FaceWidth = 240;
constexpr int FaceHeight = 268;

constexpr int AreaCount = 43;
constexpr int AreaPanel = 29;
constexpr int AreaFirstPosition = 30;
constexpr int DisplayPositions = 12;
constexpr int AreaOperator = 42;

struct Area {
    int32_t x, y, width, height;
};

extern Area SkinLayout[AreaCount];

// Asks for a repaint of an area's rectangle on the main window.
void InvalidateArea(const Area& area);

// x <= px < x + width and y <= py < y + height, without overflow for any skin values.
bool AreaContains(const Area& area, int64_t px, int64_t py);
