// The device screen: the shell's title bar over every shown top-level window's backing surface,
// composed in z-order only when something changed and someone wants to look at it. A drawing
// into a window has only what it changed composed again, and the host is told just that.
#include "platform/user/screen_internals.h"

#include "platform/font.h"
#include "platform/gdi/gdi_internals.h"
#include "platform/host.h"
#include "platform/inspect.h"
#include "platform/screen.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint32_t DesktopColor = 0xD6D3CE;
constexpr uint32_t TitleBarColor = 0x0A2A7A;
constexpr uint32_t TitleBarEdgeColor = 0x06184A;
constexpr uint32_t TitleTextColor = 0xFFFFFF;
constexpr int TitleTextSize = 15;
constexpr int TitleTextLeft = 6;
constexpr int CloseButtonWidth = 26;
constexpr int OkButtonWidth = 34;

constexpr RECT ScreenRect{0, 0, ScreenWidth, ScreenHeight};
// Beyond this many changed areas between two looks, the whole screen is composed again.
constexpr size_t MaxAreas = 32;

PixelBuffer screen;
bool dirty = true;                  // all of the screen is to be composed again
std::vector<RECT> dirtyAreas;       // else only these
bool composedWhole = true;          // since the host last took what was composed
std::vector<RECT> composedAreas;    // else only these

void Fill(PixelBuffer& target, const RECT& rect, uint32_t color)
{
    RECT bounds{0, 0, target.width, target.height};
    RECT r;
    if (!IntersectRect(&r, &rect, &bounds)) return;
    for (LONG y = r.top; y < r.bottom; ++y)
        std::fill_n(&target.pixels[size_t(y) * size_t(target.width) + size_t(r.left)], r.right - r.left, color);
}

void Plot(PixelBuffer& target, int x, int y, uint32_t color)
{
    if (x >= 0 && y >= 0 && x < target.width && y < target.height)
        target.pixels[size_t(y) * size_t(target.width) + size_t(x)] = color;
}

// Copies a window's surface onto the screen at its screen position, cut to `area` of the screen.
void Place(const PixelBuffer& surface, const RECT& at, const RECT& area)
{
    RECT picture{at.left, at.top, at.left + surface.width, at.top + surface.height};
    RECT r;
    if (!IntersectRect(&r, &at, &area) || !IntersectRect(&r, &r, &picture)) return;
    for (LONG y = r.top; y < r.bottom; ++y) {
        const uint32_t* from = &surface.pixels[size_t(y - at.top) * size_t(surface.width) + size_t(r.left - at.left)];
        std::copy(from, from + (r.right - r.left), &screen.pixels[size_t(y) * ScreenWidth + size_t(r.left)]);
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

std::vector<const ImageResource*> (*titleBarIcons)() = nullptr;

// Notification icons right to left from `right`; returns the left edge of the leftmost.
int DrawNotifyIcons(PixelBuffer& target, int right)
{
    constexpr int Gap = 2;
    if (!titleBarIcons) return right;
    int top = (TitleBarHeight - NotifyIconSize) / 2;
    for (const ImageResource* image : titleBarIcons()) {
        right -= Gap + NotifyIconSize;
        for (int y = 0; y < NotifyIconSize && y < image->height; ++y)
            for (int x = 0; x < NotifyIconSize && x < image->width; ++x)
                Plot(target, right + x, top + y, image->pixels[size_t(y) * size_t(image->width) + size_t(x)]);
    }
    return right;
}

void DrawTitleBar(PixelBuffer& target)
{
    Fill(target, RECT{0, 0, ScreenWidth, TitleBarHeight - 1}, TitleBarColor);
    Fill(target, RECT{0, TitleBarHeight - 1, ScreenWidth, TitleBarHeight}, TitleBarEdgeColor);
    HWND active = ActiveWindow();
    bool ok = active && TitleBarOkButton(active);
    int buttonLeft = ScreenWidth - (ok ? OkButtonWidth : CloseButtonWidth);
    int iconsLeft = DrawNotifyIcons(target, buttonLeft);
    std::u16string title = active ? WindowTitle(active) : std::u16string();
    if (!title.empty()) {
        RECT clip{0, 0, iconsLeft - 2, TitleBarHeight};
        int y = (TitleBarHeight - TextLineHeight(TitleTextSize)) / 2;
        RenderText(target, TitleTextLeft, y, title, TitleTextSize, TitleTextColor, &clip);
    }
    if (ok) DrawOkButton(target);
    else DrawCloseButton(target);
}

}  // namespace

void SetTitleBarIcons(std::vector<const ImageResource*> (*icons)())
{
    titleBarIcons = icons;
}

void ScreenChanged()
{
    dirty = true;
    dirtyAreas.clear();
    HostScreenChanged();
}

void ScreenAreaChanged(const RECT& area)
{
    RECT r;
    if (!IntersectRect(&r, &area, &ScreenRect)) return;
    if (dirtyAreas.size() >= MaxAreas) dirty = true;
    if (!dirty) dirtyAreas.push_back(r);
    HostScreenChanged();
}

bool ScreenDirty()
{
    return dirty || !dirtyAreas.empty();
}

namespace {

// The desktop, every shown window in z-order and the title bar, within `area`; the title bar is
// drawn whole when the area meets it.
void Compose(const RECT& area)
{
    Fill(screen, area, DesktopColor);
    for (HWND window : TopLevelWindows()) {
        PixelBuffer* surface = WindowBackingSurface(window);
        RECT at;
        if (surface && WindowShown(window) && GetWindowRect(window, &at)) Place(*surface, at, area);
    }
    RECT bar;
    if (IntersectRect(&bar, &area, &TitleBarRect)) DrawTitleBar(screen);
}

}  // namespace

const PixelBuffer& ComposedScreen()
{
    if (screen.width != ScreenWidth) {
        screen.Resize(ScreenWidth, ScreenHeight, DesktopColor);
        dirty = true;
    }
    if (dirty) {
        Compose(ScreenRect);
        composedWhole = true;
        composedAreas.clear();
    } else {
        for (const RECT& area : dirtyAreas) {
            Compose(area);
            if (composedAreas.size() < MaxAreas) composedAreas.push_back(area);
            else composedWhole = true;
        }
    }
    dirty = false;
    dirtyAreas.clear();
    return screen;
}

bool TakeComposedAreas(std::vector<RECT>* areas)
{
    bool exact = !composedWhole;
    *areas = exact ? std::move(composedAreas) : std::vector<RECT>();
    composedAreas.clear();
    composedWhole = false;
    return exact;
}

std::vector<RECT> ChangedRects(const PixelBuffer& before, const PixelBuffer& after)
{
    if (before.width != after.width || before.height != after.height) return {RECT{0, 0, after.width, after.height}};
    return ChangedRects(ScaledPicture{before.pixels.data(), size_t(after.width), 1, after.width, after.height}, after);
}

namespace {

// How many leading columns of a row are the same in a picture scaled by `step` (Step, when it is
// not 0) as in the screen, counted in whole blocks and without a branch per pixel, so that an
// unchanged row costs little; a fixed step lets the compiler compare several pixels at once.
template <size_t Step>
int SameBlocks(const uint32_t* was, const uint32_t* is, int columns, size_t step = Step)
{
    constexpr int Block = 16;
    if (Step) step = Step;
    int left = 0;
    for (; left + Block <= columns; left += Block) {
        uint32_t differs = 0;
        for (int x = left; x < left + Block; ++x) differs |= was[size_t(x) * step] ^ is[x];
        if (differs) break;
    }
    return left;
}

}  // namespace

std::vector<RECT> ChangedRects(const ScaledPicture& shown, const PixelBuffer& after)
{
    std::vector<RECT> changed;
    const int columns = std::min(shown.columns, after.width), rows = std::min(shown.rows, after.height);
    const size_t step = size_t(shown.scale);
    for (int y = 0; y < rows; ++y) {
        const uint32_t* was = shown.pixels + size_t(y) * step * shown.pitch;
        const uint32_t* is = &after.pixels[size_t(y) * size_t(after.width)];
        int left = 0, right = columns;
        if (step == 1) {
            if (std::memcmp(was, is, size_t(columns) * sizeof *is) == 0) continue;
        } else {
            left = step == 2 ? SameBlocks<2>(was, is, columns) : SameBlocks<0>(was, is, columns, step);
            while (left < columns && was[size_t(left) * step] == is[left]) ++left;
            if (left == columns) continue;
        }
        while (was[size_t(left) * step] == is[left]) ++left;
        while (was[size_t(right - 1) * step] == is[right - 1]) --right;
        AddChangedRow(&changed, y, left, right);
    }
    return changed;
}

RECT TitleBarOkButtonRect()
{
    return RECT{ScreenWidth - OkButtonWidth, 0, ScreenWidth, TitleBarHeight};
}

TitleBarButton TitleBarButtonAt(int x, int y)
{
    if (!PtInRect(&TitleBarRect, POINT{x, y})) return TitleBarButton::None;
    HWND active = ActiveWindow();
    if (active && TitleBarOkButton(active))
        return x >= ScreenWidth - OkButtonWidth ? TitleBarButton::Ok : TitleBarButton::None;
    return x >= ScreenWidth - CloseButtonWidth ? TitleBarButton::Close : TitleBarButton::None;
}
