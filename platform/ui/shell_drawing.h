// The shell's own drawing (shell_drawing.cpp): what menus, dialogs, controls and message boxes are
// drawn with.
#pragma once
#include "platform/pixels.h"
#include "platform/resources.h"
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t ShellWhite = 0xFFFFFF;
constexpr uint32_t ShellBlack = 0x000000;
constexpr uint32_t ShellGrey = 0xD6D3CE;         // menu bar, scroll bar track
constexpr uint32_t ShellDarkGrey = 0x848284;     // separators, edges
constexpr uint32_t ShellHighlight = 0x0A2A7A;    // selected entries and items, as the title bar
// Drawing on one window's client area in client coordinates, cut to what the window may draw on
// (see WindowDrawTarget). Draws nothing for a window that is gone.
class WindowCanvas {
public:
    explicit WindowCanvas(HWND window);
    ~WindowCanvas();   // tells the window manager that the surface changed
    WindowCanvas(const WindowCanvas&) = delete;
    WindowCanvas& operator=(const WindowCanvas&) = delete;
    void Fill(const RECT& rect, uint32_t color);
    void Frame(const RECT& rect, uint32_t color, int thickness = 1);
    // The 2-pixel sunken edge of WS_EX_CLIENTEDGE just inside the rectangle.
    void SunkenEdge(const RECT& rect);
    // Text with its line box's top-left at (x, y), cut to `clip` (client coordinates) when given.
    int Text(int x, int y, const std::u16string& text, int pixelSize, uint32_t color, const RECT* clip = nullptr);
    void Image(int x, int y, const ImageResource& image);
    void Plot(int x, int y, uint32_t color);
private:
    HWND window_;
    PixelBuffer* surface_ = nullptr;
    POINT origin_{};
    RECT clip_{};
};
// Breaks text into lines no wider than `width` at this size: at spaces where it can, inside a
// word (or between Japanese characters) where a word alone is too wide; at line feeds always.
std::vector<std::u16string> WrapText(const std::u16string& text, int width, int pixelSize);
