// A line of text's coverage blended over a picture: what every host's RenderText ends with.
#include "platform/font.h"

#include <algorithm>

namespace {

uint32_t Blend(uint32_t under, uint32_t over, uint32_t alpha)
{
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t a = (over >> shift) & 0xFF, b = (under >> shift) & 0xFF;
        result |= ((a * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return result;
}

}  // namespace

void BlendCoverage(PixelBuffer& target, int x, int y, const uint8_t* coverage, int width, int height,
                   uint32_t color, const RECT* clip)
{
    RECT area{0, 0, target.width, target.height};
    if (clip)   // what the clip shares with the target; a clip outside it leaves no pixel
        area = RECT{std::max(area.left, clip->left), std::max(area.top, clip->top), std::min(area.right, clip->right),
                    std::min(area.bottom, clip->bottom)};
    for (int row = std::max(0, int(area.top) - y); row < height && y + row < area.bottom; ++row)
        for (int col = std::max(0, int(area.left) - x); col < width && x + col < area.right; ++col) {
            uint8_t alpha = coverage[size_t(row) * size_t(width) + size_t(col)];
            if (alpha == 0) continue;
            uint32_t& out = target.pixels[size_t(y + row) * size_t(target.width) + size_t(x + col)];
            out = Blend(out, color & 0xFFFFFF, alpha);
        }
}
