// Shared inside the platform only: the program never includes this.
#pragma once
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <string_view>
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
// Decodes UTF-8 into text (ill-formed bytes as U+FFFD) and tells whether all of it was well-formed.
bool Utf16FromValidUtf8(std::string_view bytes, std::u16string& text);
