// Bitmaps made by the platform itself (gdi.cpp): from resources, from decoded files, for tests;
// and device contexts over pictures that another part of the platform keeps.
#pragma once
#include "platform/pixels.h"
#include "platform/types.h"

#include <cstdint>
#include <functional>
#include <vector>

// A colour bitmap from 0x00RRGGBB pixels, rows top-down (the top byte is cleared); null when the
// size is not positive, the pixel count does not match, or it exceeds MaxBitmapPixels. No bitmap
// is larger: 16 Mi pixels, 64 MiB of colour, far beyond what a 240 x 268 face needs and the
// device's memory, so a small hostile file cannot make a skin load take hundreds of megabytes.
constexpr int64_t MaxBitmapPixels = int64_t(1) << 24;
HBITMAP CreateColourBitmap(int width, int height, std::vector<uint32_t> pixels);

// A DC that draws into a picture kept by `owner` (the window manager's GetDC: a window's backing
// surface). `surface` finds the picture at each use, null once it is gone, so a DC outliving its
// picture draws nothing; `changed` is told each rectangle of the picture that a BitBlt into it
// changed (a plain copy reports only the pixels that became different, none when it changed
// nothing). It takes colour bitmaps' format and no bitmap can be selected into it; DeleteDC
// refuses it.
HDC CreateSurfaceDC(const void* owner, std::function<PixelBuffer*()> surface,
                    std::function<void(const RECT&)> changed);
// Frees a surface DC of that owner; false, freeing nothing, for any other handle.
bool DeleteSurfaceDC(HDC dc, const void* owner);

// Adds the changed columns [left, right) of row y to rectangles of changed rows, rows taken top
// down: a row right below the last rectangle widens it, any other row starts a new one.
void AddChangedRow(std::vector<RECT>* changed, int y, int left, int right);
