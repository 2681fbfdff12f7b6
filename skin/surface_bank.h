// The off-screen surfaces everything is drawn from, and the sprite cells cut from them. Eight
// surface slots, each an off-screen DC with its bitmap and an optional 1-bit mask slot for
// transparent drawing; 256 cells naming rectangles on those surfaces by slot index. Transparency
// is by colour key: CreateMask builds the mask once per image, and each transparent draw is then
// two raster operations.
#pragma once
#include "platform/types.h"

constexpr int SurfaceSlotCount = 8;
constexpr int SpriteCellCount = 256;
constexpr int32_t NoMaskSlot = -1;

// The slots a loaded skin fills: the face composed off-screen (of the window's client size), the
// background image, the parts image that every cell is cut from, and the parts image's mask.
enum : int32_t { SlotComposition = 0, SlotBackground = 1, SlotParts = 2, SlotPartsMask = 3 };

// The last argument of BlitSurface, BlitToWindow and DrawCell: copy every pixel, or leave out
// those that the source's mask marks transparent.
enum : int32_t { Opaque = 0, Transparent = 1 };

struct SurfaceSlot {
    HDC dc;                    // off-screen DC; null when the slot is empty
    HBITMAP bitmap;            // bitmap selected into dc; null when none
    HGDIOBJ previousObject;    // what dc held before the bitmap, handed back before release
    int32_t width;
    int32_t height;
    int32_t maskSlot;          // slot holding this surface's mask, or NoMaskSlot
};

struct SpriteCell {
    int32_t surface;           // slot index 0-7
    int32_t x, y;
    int32_t width, height;     // width 0 stands for the whole surface
};

extern SurfaceSlot SurfaceBank[SurfaceSlotCount];
extern SpriteCell SpriteCells[SpriteCellCount];

// Every operation returns 0 on success; 1 for a slot outside 0-7 or a cell outside 0-255.
int32_t ResetSurfaceBank();
int32_t ReleaseSurfaces();
// 2 no window DC, 3 no off-screen DC, 4 no bitmap, 5 selecting failed, 6 size unreadable.
int32_t CreateSurface(int32_t slot, HINSTANCE module, HWND window, LPCWSTR bitmapName, int32_t width,
                      int32_t height);
// 2 source size unreadable, 3 colour key not set, 4-6 mask DC, bitmap, selection failed,
// 7-9 temporary DC, bitmap, selection failed, 10 background colour not restored.
int32_t CreateMask(int32_t sourceSlot, int32_t maskSlot, COLORREF transparentColor);
int32_t BlitSurface(int32_t sourceSlot, int32_t sourceX, int32_t sourceY, int32_t width, int32_t height,
                    int32_t destSlot, int32_t destX, int32_t destY, int32_t transparent);
// 2 when the window's DC cannot be had.
int32_t BlitToWindow(int32_t sourceSlot, int32_t sourceX, int32_t sourceY, int32_t width, int32_t height,
                     HWND window, int32_t destX, int32_t destY, int32_t transparent);
int32_t DefineCell(int32_t cell, int32_t surface, int32_t x, int32_t y, int32_t width, int32_t height);
int32_t DrawCell(int32_t cell, int32_t destSlot, int32_t destX, int32_t destY, int32_t transparent);
// The size DrawCell draws a cell at: its own, or its whole surface's for width 0. 1 for a cell or
// surface slot out of range.
int32_t CellSize(int32_t cell, int32_t* width, int32_t* height);
