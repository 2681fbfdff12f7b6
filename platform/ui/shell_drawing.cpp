// The pieces the shell's own windows are drawn with: filled and framed rectangles, text, pictures,
// all cut to the part of a window's top-level surface that the window may draw on.
#include "platform/ui/shell_drawing.h"

#include "platform/font.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <algorithm>

namespace {

constexpr uint32_t EdgeShadow = 0x404040;

// The part of a rectangle (surface coordinates) that may be drawn on: inside the clip and the
// surface. False when there is none.
bool DrawableArea(const RECT& rect, const RECT& clip, const PixelBuffer& surface, RECT* area)
{
    RECT bounds{0, 0, surface.width, surface.height};
    return IntersectRect(area, &rect, &clip) && IntersectRect(area, area, &bounds);
}

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// Characters of the wide scripts (kana, kanji, full-width forms) may be broken between.
bool IsWide(char16_t c)
{
    return c >= 0x2E80 && !(c >= 0xD800 && c <= 0xDFFF);
}

// A paragraph as units that are never split unless one alone is too wide: runs of spaces, runs of
// other narrow characters (words), single wide characters.
std::vector<std::u16string> Units(const std::u16string& paragraph)
{
    std::vector<std::u16string> units;
    for (size_t i = 0; i < paragraph.size();) {
        size_t end = i + 1;
        if (IsSpace(paragraph[i])) {
            while (end < paragraph.size() && IsSpace(paragraph[end])) ++end;
        } else if (!IsWide(paragraph[i])) {
            while (end < paragraph.size() && !IsSpace(paragraph[end]) && !IsWide(paragraph[end])) ++end;
        }
        units.push_back(paragraph.substr(i, end - i));
        i = end;
    }
    return units;
}

std::u16string TrimRight(std::u16string text)
{
    while (!text.empty() && IsSpace(text.back())) text.pop_back();
    return text;
}

void WrapParagraph(const std::u16string& paragraph, int width, int pixelSize, std::vector<std::u16string>& lines)
{
    size_t before = lines.size();
    std::u16string line;
    for (const std::u16string& unit : Units(paragraph)) {
        if (IsSpace(unit[0])) {
            if (!line.empty()) line += unit;
            continue;
        }
        if (TextWidth(line + unit, pixelSize) <= width) {
            line += unit;
            continue;
        }
        if (!TrimRight(line).empty()) lines.push_back(TrimRight(line));
        line.clear();
        if (TextWidth(unit, pixelSize) <= width) {
            line = unit;
            continue;
        }
        for (char16_t c : unit) {   // a word too wide for a line of its own is cut where it must be
            if (!line.empty() && TextWidth(line + c, pixelSize) > width) {
                lines.push_back(line);
                line.clear();
            }
            line += c;
        }
    }
    line = TrimRight(line);
    if (!line.empty() || lines.size() == before) lines.push_back(line);
}

}  // namespace

WindowCanvas::WindowCanvas(HWND window) : window_(window)
{
    if (!WindowDrawTarget(window, &surface_, &origin_, &clip_)) surface_ = nullptr;
}

WindowCanvas::~WindowCanvas()
{
    if (surface_) WindowSurfaceChanged(window_);
}

void WindowCanvas::Fill(const RECT& rect, uint32_t color)
{
    if (!surface_) return;
    RECT r;
    RECT placed{rect.left + origin_.x, rect.top + origin_.y, rect.right + origin_.x, rect.bottom + origin_.y};
    if (!DrawableArea(placed, clip_, *surface_, &r)) return;
    for (LONG y = r.top; y < r.bottom; ++y)
        std::fill_n(surface_->pixels.begin() + ptrdiff_t(y) * surface_->width + r.left, r.right - r.left, color);
}

void WindowCanvas::Frame(const RECT& rect, uint32_t color, int thickness)
{
    for (int i = 0; i < thickness; ++i) {
        RECT r{rect.left + i, rect.top + i, rect.right - i, rect.bottom - i};
        if (r.right <= r.left || r.bottom <= r.top) return;
        Fill(RECT{r.left, r.top, r.right, r.top + 1}, color);
        Fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, color);
        Fill(RECT{r.left, r.top, r.left + 1, r.bottom}, color);
        Fill(RECT{r.right - 1, r.top, r.right, r.bottom}, color);
    }
}

void WindowCanvas::SunkenEdge(const RECT& rect)
{
    const uint32_t topLeft[2] = {ShellDarkGrey, EdgeShadow};
    const uint32_t bottomRight[2] = {ShellWhite, ShellGrey};
    for (int i = 0; i < 2; ++i) {
        RECT r{rect.left + i, rect.top + i, rect.right - i, rect.bottom - i};
        Fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight[i]);
        Fill(RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight[i]);
        Fill(RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft[i]);
        Fill(RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft[i]);
    }
}

int WindowCanvas::Text(int x, int y, const std::u16string& text, int pixelSize, uint32_t color, const RECT* clip)
{
    if (!surface_) return 0;
    RECT area = clip_;
    RECT given = clip ? RECT{clip->left + origin_.x, clip->top + origin_.y, clip->right + origin_.x,
                             clip->bottom + origin_.y}
                      : clip_;
    if (!IntersectRect(&area, &area, &given)) return 0;
    return RenderText(*surface_, x + origin_.x, y + origin_.y, text, pixelSize, color, &area);
}

void WindowCanvas::Image(int x, int y, const ImageResource& image)
{
    if (!surface_ || !image.pixels) return;
    RECT r;
    RECT placed{x + origin_.x, y + origin_.y, x + origin_.x + image.width, y + origin_.y + image.height};
    if (!DrawableArea(placed, clip_, *surface_, &r)) return;
    for (LONG sy = r.top; sy < r.bottom; ++sy)
        for (LONG sx = r.left; sx < r.right; ++sx)
            surface_->pixels[size_t(sy) * size_t(surface_->width) + size_t(sx)] =
                image.pixels[size_t(sy - origin_.y - y) * size_t(image.width) + size_t(sx - origin_.x - x)] & 0xFFFFFF;
}

void WindowCanvas::Plot(int x, int y, uint32_t color)
{
    Fill(RECT{x, y, x + 1, y + 1}, color);
}

std::vector<std::u16string> WrapText(const std::u16string& text, int width, int pixelSize)
{
    std::vector<std::u16string> lines;
    for (size_t start = 0;;) {
        size_t end = text.find(u'\n', start);
        std::u16string paragraph = text.substr(start, end == std::u16string::npos ? end : end - start);
        if (!paragraph.empty() && paragraph.back() == u'\r') paragraph.pop_back();
        WrapParagraph(paragraph, width, pixelSize, lines);
        if (end == std::u16string::npos) break;
        start = end + 1;
    }
    return lines;
}
