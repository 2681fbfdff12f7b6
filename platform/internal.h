// Shared inside the platform only: the program never includes this.
#pragma once
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <vector>

// A 32-bit colour picture, 0x00RRGGBB per pixel, rows top-down.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    void Resize(int w, int h, uint32_t fill = 0xFFFFFF)
    {
        width = w > 0 ? w : 0;
        height = h > 0 ? h : 0;
        pixels.assign(size_t(width) * size_t(height), fill);
    }
};

// The client-area picture of a top-level window (its backing surface), or null when the handle
// is not a live window. The window manager owns it; GDI draws into it through GetDC.
PixelBuffer* WindowBackingSurface(HWND window);
// GDI calls this after drawing into a window's backing surface, so the screen is composed again.
void WindowSurfaceChanged(HWND window);

// Device path (backslashes) to host path (slashes) and back.
std::string HostPathFromDevice(LPCWSTR devicePath);
std::u16string DevicePathFromHost(const std::string& hostPath);
std::string Utf8FromUtf16(const std::u16string& text);
std::u16string Utf16FromUtf8(const std::string& text);

// Bitmaps: a colour bitmap from 0x00RRGGBB pixels, rows top-down (the top byte is cleared); null
// when the size is not positive, the pixel count does not match, or it exceeds MaxBitmapPixels.
// No bitmap is larger: 64 Mi pixels, 256 MiB of colour, far beyond the device's memory.
constexpr int64_t MaxBitmapPixels = int64_t(1) << 26;
HBITMAP CreateColourBitmap(int width, int height, std::vector<uint32_t> pixels);

// The registered resources, for the platform's own drawing of icons, menus, menu bars and
// accelerators. Null when there is no such resource.
struct ImageResource;
struct MenuResource;
struct MenuBarResource;
struct AcceleratorResource;
// Of an icon's images, the one whose width is nearest to preferredSize (the larger on a tie).
const ImageResource* FindIconImage(HINSTANCE instance, UINT id, int preferredSize);
const ImageResource* IconImage(HICON icon, int preferredSize);   // icon from LoadIconW
const ImageResource* FindBitmapImage(HINSTANCE instance, UINT id);
const MenuResource* FindMenu(HINSTANCE instance, UINT id);
const MenuBarResource* FindMenuBar(HINSTANCE instance, UINT id);
const AcceleratorResource* FindAccelerators(HACCEL table);   // table from LoadAcceleratorsW
