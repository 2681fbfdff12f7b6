// The device screen: the shell's title bar over every shown top-level window's backing surface,
// composed in z-order only when something changed and someone wants to look at it.
#include "platform/user/screen_internals.h"

#include "platform/font.h"
#include "platform/host.h"
#include "platform/inspect.h"
#include "platform/screen.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t DesktopColor = 0xD6D3CE;
constexpr uint32_t TitleBarColor = 0x0A2A7A;
constexpr uint32_t TitleBarEdgeColor = 0x06184A;
constexpr uint32_t TitleTextColor = 0xFFFFFF;
constexpr int TitleTextSize = 15;
constexpr int TitleTextLeft = 6;
constexpr int CloseButtonWidth = 26;
constexpr int OkButtonWidth = 34;

PixelBuffer screen;
bool dirty = true;

void Fill(PixelBuffer& target, const RECT& rect, uint32_t color)
{
    for (LONG y = std::max(rect.top, LONG(0)); y < std::min(rect.bottom, LONG(target.height)); ++y)
        for (LONG x = std::max(rect.left, LONG(0)); x < std::min(rect.right, LONG(target.width)); ++x)
            target.pixels[size_t(y) * size_t(target.width) + size_t(x)] = color;
}

void Plot(PixelBuffer& target, int x, int y, uint32_t color)
{
    if (x >= 0 && y >= 0 && x < target.width && y < target.height)
        target.pixels[size_t(y) * size_t(target.width) + size_t(x)] = color;
}

// Copies a window's surface onto the screen at its screen position, cut to the screen.
void Place(const PixelBuffer& surface, const RECT& at)
{
    int left = std::max(0, int(at.left));
    int top = std::max(0, int(at.top));
    int right = std::min({ScreenWidth, int(at.right), int(at.left) + surface.width});
    int bottom = std::min({ScreenHeight, int(at.bottom), int(at.top) + surface.height});
    if (right <= left) return;
    for (int y = top; y < bottom; ++y) {
        const uint32_t* from = &surface.pixels[size_t(y - at.top) * size_t(surface.width) + size_t(left - at.left)];
        std::copy(from, from + (right - left), &screen.pixels[size_t(y) * ScreenWidth + size_t(left)]);
    }
}

// An outline ellipse inside a box, one pixel wide: the Pocket PC title-bar buttons are round.
void Ellipse(PixelBuffer& target, const RECT& box, uint32_t color)
{
    double cx = (box.left + box.right - 1) / 2.0, cy = (box.top + box.bottom - 1) / 2.0;
    double rx = (box.right - box.left - 1) / 2.0, ry = (box.bottom - box.top - 1) / 2.0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            double d = std::hypot((x - cx) / rx, (y - cy) / ry);
            if (std::abs(d - 1.0) * std::min(rx, ry) < 0.6) Plot(target, x, y, color);
        }
}

void DrawCloseButton(PixelBuffer& target)
{
    RECT box{ScreenWidth - CloseButtonWidth + 4, 4, ScreenWidth - 4, TitleBarHeight - 4};
    Ellipse(target, box, TitleTextColor);
    for (int i = 0; i < 8; ++i) {
        Plot(target, box.left + 5 + i, box.top + 5 + i, TitleTextColor);
        Plot(target, box.right - 6 - i, box.top + 5 + i, TitleTextColor);
    }
}

void DrawOkButton(PixelBuffer& target)
{
    RECT box{ScreenWidth - OkButtonWidth + 3, 4, ScreenWidth - 3, TitleBarHeight - 4};
    Ellipse(target, box, TitleTextColor);
    const std::u16string ok = u"ok";
    int size = 13;
    int x = (box.left + box.right - TextWidth(ok, size)) / 2;
    int y = (box.top + box.bottom - TextLineHeight(size)) / 2;
    RenderText(target, x, y, ok, size, TitleTextColor);
}

void DrawTitleBar(PixelBuffer& target)
{
    Fill(target, RECT{0, 0, ScreenWidth, TitleBarHeight - 1}, TitleBarColor);
    Fill(target, RECT{0, TitleBarHeight - 1, ScreenWidth, TitleBarHeight}, TitleBarEdgeColor);
    HWND active = ActiveWindow();
    bool ok = active && TitleBarOkButton(active);
    int buttonLeft = ScreenWidth - (ok ? OkButtonWidth : CloseButtonWidth);
    std::u16string title = active ? WindowTitle(active) : std::u16string();
    if (!title.empty()) {
        RECT clip{0, 0, buttonLeft - 2, TitleBarHeight};
        int y = (TitleBarHeight - TextLineHeight(TitleTextSize)) / 2;
        RenderText(target, TitleTextLeft, y, title, TitleTextSize, TitleTextColor, &clip);
    }
    if (ok) DrawOkButton(target);
    else DrawCloseButton(target);
}

}  // namespace

void ScreenChanged()
{
    dirty = true;
    HostScreenChanged();
}

bool ScreenDirty()
{
    return dirty;
}

const PixelBuffer& ComposedScreen()
{
    if (!dirty && screen.width == ScreenWidth) return screen;
    screen.Resize(ScreenWidth, ScreenHeight, DesktopColor);
    for (HWND window : TopLevelWindows()) {
        PixelBuffer* surface = WindowBackingSurface(window);
        RECT at;
        if (surface && WindowShown(window) && GetWindowRect(window, &at)) Place(*surface, at);
    }
    DrawTitleBar(screen);
    dirty = false;
    return screen;
}

TitleBarButton TitleBarButtonAt(int x, int y)
{
    if (y < 0 || y >= TitleBarHeight || x >= ScreenWidth) return TitleBarButton::None;
    HWND active = ActiveWindow();
    if (active && TitleBarOkButton(active))
        return x >= ScreenWidth - OkButtonWidth ? TitleBarButton::Ok : TitleBarButton::None;
    return x >= ScreenWidth - CloseButtonWidth ? TitleBarButton::Close : TitleBarButton::None;
}
