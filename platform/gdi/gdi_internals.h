// Bitmaps made by the platform itself (gdi.cpp): from resources, from decoded files, for tests.
#pragma once
#include "platform/types.h"

#include <cstdint>
#include <vector>

// A colour bitmap from 0x00RRGGBB pixels, rows top-down (the top byte is cleared); null when the
// size is not positive, the pixel count does not match, or it exceeds MaxBitmapPixels. No bitmap
// is larger: 16 Mi pixels, 64 MiB of colour, far beyond what a 240 x 268 face needs and the
// device's memory, so a small hostile file cannot make a skin load take hundreds of megabytes.
constexpr int64_t MaxBitmapPixels = int64_t(1) << 24;
HBITMAP CreateColourBitmap(int width, int height, std::vector<uint32_t> pixels);
