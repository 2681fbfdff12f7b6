// Screen composition (screen.cpp): the shell's title bar over the shown top-level windows.
#pragma once
#include "platform/pixels.h"
#include "platform/resources.h"
#include "platform/screen.h"
#include "platform/types.h"

#include <vector>

// Something on the screen changed (a surface drawn, a window shown, moved, raised or destroyed,
// the active window changed): the screen is composed again when next wanted, and the host is told.
void ScreenChanged();
// Only this rectangle of the screen changed (a drawing into a window): only it is composed again.
void ScreenAreaChanged(const RECT& area);
// True when the screen changed since it was last composed.
bool ScreenDirty();
// The 240 x 320 screen: every shown top-level window's surface in z-order, then the title bar.
// Composed only when something changed since the last call, and then only where it changed.
const PixelBuffer& ComposedScreen();
// What was composed since the last call, for a host that shows the screen: true with the areas
// composed again (none when nothing was), false when the whole screen was, so that any of it
// may differ.
bool TakeComposedAreas(std::vector<RECT>* areas);
// The rectangles in which two pictures of the same size differ: one for each run of rows with a
// change, from its leftmost to its rightmost changed column. Everything, when the sizes differ.
std::vector<RECT> ChangedRects(const PixelBuffer& before, const PixelBuffer& after);
// A picture of the screen as a host shows it, scaled: the device pixel (x, y) is at
// pixels[y * scale * pitch + x * scale] (pitch in pixels), for x < columns and y < rows; the
// rest of the screen is not shown.
struct ScaledPicture {
    const uint32_t* pixels;
    size_t pitch;
    int scale;
    int columns;
    int rows;
};
// The rectangles, as above, in which `after` differs from what `shown` shows of the screen, so a
// host can compare with the picture it already holds instead of keeping a copy.
std::vector<RECT> ChangedRects(const ScaledPicture& shown, const PixelBuffer& after);
// The shell's title bar in screen coordinates.
constexpr RECT TitleBarRect{0, 0, ScreenWidth, TitleBarHeight};
enum class TitleBarButton { None, Close, Ok };
// Where the title bar shows the OK button of a window that has one (SetTitleBarOkButton).
RECT TitleBarOkButtonRect();
// The title-bar button at a screen point, for the active window.
TitleBarButton TitleBarButtonAt(int x, int y);

// The title bar shows icons left of its button, NotifyIconSize pixels square, the first given
// drawn rightmost. The shell's notification icons give them (ui/notify_icons.cpp): `icons` is
// asked for the images shown now each time the title bar is drawn. None until set.
constexpr int NotifyIconSize = 16;
void SetTitleBarIcons(std::vector<const ImageResource*> (*icons)());
