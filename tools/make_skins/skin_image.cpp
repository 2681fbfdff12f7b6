#include "tools/make_skins/skin_image.h"

#include <algorithm>
#include <cmath>

namespace skins {

static uint8_t ToByte(float v)
{
    return uint8_t(std::clamp(std::lround(v * 255.0f), 0L, 255L));
}

Rgb PartsPixel(const float premultiplied[3], float alpha, Rgb underlay)
{
    if (alpha < 0.5f / 255.0f) return TransparentColour;
    float keep = 1.0f - std::min(alpha, 1.0f);
    Rgb out = {ToByte(premultiplied[0] + keep * underlay.r / 255.0f),
               ToByte(premultiplied[1] + keep * underlay.g / 255.0f),
               ToByte(premultiplied[2] + keep * underlay.b / 255.0f)};
    // One step of blue is invisible, and keeps the pixel from vanishing when drawn.
    if (out == TransparentColour) out.b++;
    return out;
}

void DrawCell(const Image& source, const Rect& rect, Image& target, int x, int y, bool keyed)
{
    for (int dy = 0; dy < rect.h; dy++)
        for (int dx = 0; dx < rect.w; dx++) {
            int sx = rect.x + dx, sy = rect.y + dy;
            if (!source.contains(sx, sy) || !target.contains(x + dx, y + dy)) continue;
            Rgb pixel = source.at(sx, sy);
            if (keyed && pixel == TransparentColour) continue;
            target.at(x + dx, y + dy) = pixel;
        }
}

Image Crop(const Image& image, const Rect& rect, Rgb outside)
{
    Image out(rect.w, rect.h, outside);
    DrawCell(image, rect, out, 0, 0, false);
    return out;
}

}  // namespace skins
