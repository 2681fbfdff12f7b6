// Drawing of the emulated device: device contexts onto memory and onto window backing surfaces
// (those come from GetDC, the window manager's: windows.h),
// 32-bit colour bitmaps (0x00RRGGBB, top byte always 0) and 1-bit monochrome bitmaps as plain
// pixel arrays, BitBlt with four raster operations and the colour/monochrome conversion rules,
// and bitmap loading from resources and BMP files.
// Left out: pens, brushes, text drawing, regions, palettes, every other raster operation.
#pragma once
#include "platform/types.h"

#define SRCCOPY 0x00CC0020u
#define SRCAND 0x008800C6u
#define SRCPAINT 0x00EE0086u
#define NOTSRCCOPY 0x00330008u
#define CLR_INVALID 0xFFFFFFFFu

#define IMAGE_BITMAP 0
#define LR_DEFAULTCOLOR 0

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

HDC CreateCompatibleDC(HDC dc);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
BOOL DeleteDC(HDC dc);
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF SetTextColor(HDC dc, COLORREF color);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags);
HBITMAP SHLoadDIBitmap(LPCWSTR fileName);
COLORREF GetPixel(HDC dc, int x, int y);
